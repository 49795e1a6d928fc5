// The time-of-day split of a datetime by its definition, with std::fmod:
// the whole day, the seconds into it (0 <= time < 86400), and the hour,
// minute and second of those seconds. A value so little below zero that
// its time would round up to 86400 is the start of day 0. The tests and
// the host-services fuzz target compare the host's fast splits with it.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace split_reference {

struct Split {
    double day, time, hour, minute, second;
};

inline Split split(double x) {
    double t = std::fmod(x, 86400.0);
    double day = (x - t) / 86400.0;
    if (t < 0) {
        const double u = t + 86400;
        if (u < 86400) {
            t = u;
            day -= 1;
        } else {
            t = 0;
        }
    }
    t += 0.0;  // no negative zero
    const double in_hour = std::fmod(t, 3600.0);
    return {day + 0.0, t, (t - in_hour) / 3600, (in_hour - std::fmod(in_hour, 60.0)) / 60, std::fmod(t, 60.0)};
}

// The bits of a double, every NaN alike.
inline std::uint64_t bits(double v) { return std::isnan(v) ? 0x7ff8000000000000ULL : std::bit_cast<std::uint64_t>(v); }

}  // namespace split_reference
