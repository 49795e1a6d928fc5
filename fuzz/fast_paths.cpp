// Compares the common-case shortcuts of E8601DA and of the extended,
// zone-qualified and basic datetimes with their general paths on arbitrary
// value bits (or values near the carries of the rounding and the range
// bounds), widths, decimals, task zones and the validation flag: the same
// text, status and output length, and neither writes beyond the width.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "iso8601/iso8601.h"

namespace {

using fuzz_support::Input;
using fuzz_support::Rendered;
using fuzz_support::render_guarded;

constexpr int kRoom = fuzz_support::Rendered::kRoom;
constexpr double kDay = 86400;
constexpr double kFirst = -138061.0 * kDay;  // 1582-01-01T00:00:00
constexpr double kEnd = 2936548.0 * kDay;    // just past 9999-12-31

struct Pair {
    FormatRoutine* fast;
    FormatRoutine* general;
    bool date;  // the value is a day number
};

const Pair kPairs[] = {
    {f8601da, f8601da_general, true},  {f8601dt, f8601dt_general, false}, {f8601dz, f8601dz_general, false},
    {f8601dx, f8601dx_general, false}, {f8601lx, f8601lx_general, false}, {b8601dt, b8601dt_general, false},
    {b8601dz, b8601dz_general, false}, {b8601dx, b8601dx_general, false}, {b8601lx, b8601lx_general, false},
};

// Task zones: none (the host's default), with daylight saving (whole and
// half hours), fixed offsets with and without minutes.
const char* const kZones[] = {nullptr, "America/New_York", "Australia/Lord_Howe", "+05:45", "-03:00", "+14:00"};

double take_value(Input& in) {
    const fuzz_support::Draw d = fuzz_support::draw(in);
    if (d.raw()) return d.value();
    const std::uint8_t kind = d.kind;
    const double fraction = d.fraction();
    const double day = std::floor((fraction * 1.1 - 0.05) * (2936548.0 + 138061.0)) - 138061.0;
    const double hair = (fraction - 0.5) * 1e-6;
    // The edge where k decimals round up to the next second.
    const double edge = 1 - 5 / std::pow(10.0, (kind >> 4) % 8 + 1);
    switch (kind >> 1 & 7) {
        case 0: return day * kDay + (kind >> 4) * 60.0 + 59.5 + hair;   // a minute's last half second
        case 1: return day * kDay + 86399.5 + hair;                     // the day's last half second
        case 2: return day * kDay + std::floor(fraction * kDay) + 0.5;  // a half second
        case 3: return day * kDay + 86399 + edge + hair * 1e-3;         // the day's last rounding edge
        case 4: return day * kDay + std::floor(fraction * kDay) + edge + hair * 1e-3;  // a second's
        case 5: return kFirst + (fraction - 0.5) * 2 * kDay;            // the first day, either side
        case 6: return kEnd + (fraction - 0.5) * 2 * kDay;              // the last day, either side
        default: return (fraction * 1.2 - 0.1) * 253717747200.0;        // anywhere
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static isofmt::Host& host = fuzz_support::bind_host();
    static Environment* const* zones = [] {
        static Environment* made[std::size(kZones)] = {};
        for (std::size_t i = 0; i < std::size(kZones); ++i) {
            if (kZones[i] == nullptr) continue;
            isofmt::EnvironmentConfig config;
            config.time_zone = kZones[i];
            made[i] = host.create_environment(config);
        }
        return made;
    }();
    Input in{data, size};
    const std::uint8_t pick = in.take<std::uint8_t>();
    const Pair& pair = kPairs[pick % std::size(kPairs)];
    Environment* zone = zones[pick / std::size(kPairs) % std::size(kZones)];
    double value = take_value(in);
    if (pair.date) value /= kDay;  // the datetimes' days, with their fractions
    const int width = in.take<std::uint8_t>() % 41;
    const int decimals = in.take<std::int8_t>() % 10;
    const std::uint8_t flags = in.take<std::uint8_t>() & kValidateFlag;
    const Rendered fast = render_guarded(pair.fast, value, width, decimals, width, flags, zone);
    const Rendered general = render_guarded(pair.general, value, width, decimals, width, flags, zone);
    if (fast.status != general.status || fast.length != general.length) std::abort();
    const int n = fast.length > 0 ? fast.length : 0;
    if (n > kRoom || std::memcmp(fast.out, general.out, static_cast<std::size_t>(n)) != 0) std::abort();
    return 0;
}
