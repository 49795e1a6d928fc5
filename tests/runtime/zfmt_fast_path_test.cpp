// The host's numeric text: zfmt's common-case path against the general
// routine it stands in for, on the same block: text, output length, status,
// and nothing written past the width.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "service_host.h"
#include "services.h"

namespace {

using runtime_test::ServiceHost;

constexpr int kGuard = 8;

struct Outcome {
    std::string bytes;  // the width and the guard bytes after it
    std::int32_t length, status;
    bool operator==(const Outcome&) const = default;
};

Outcome run(std::int32_t (*service)(FormatBlock*), double value, int width, int decimals) {
    std::vector<char> out(static_cast<std::size_t>(std::max(width, 0) + kGuard), '#');
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = &value;
    b.output = out.data();
    b.output_length = -7;
    const std::int32_t status = service(&b);
    return {std::string(out.begin(), out.end()), b.output_length, status};
}

// Both routines on one value at every width and decimals given.
void compare(double value, const std::vector<int>& widths, const std::vector<int>& decimals) {
    for (int w : widths) {
        for (int d : decimals) {
            const Outcome fast = run(isofmt::service::zfmt, value, w, d);
            const Outcome general = run(isofmt::service::zfmt_general, value, w, d);
            ASSERT_EQ(fast, general) << std::hexfloat << value << std::defaultfloat << " (" << value << ") w " << w
                                     << " d " << d << ": '" << fast.bytes << "' against '" << general.bytes << "'";
        }
    }
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

// Values on and beside every rounding edge the path decides: halves of the
// last decimal shown, carries into a new digit (9.9995, 99.5), the limit
// of 2^40 units, the sign of zero and of values that round to zero.
TEST(ZfmtFastPath, CornersAtEveryWidthAndDecimals) {
    ServiceHost h;
    const std::vector<int> widths = range(-1, 24), decimals = range(-2, 12);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> corners = {0.0, -0.0, 1e-300, -1e-300, 0.4, -0.4, 0.5, -0.5, 0.05, -0.05, 1, -1, 9.5, 99.5,
                                   9.995, 9.9995, 59.9995, 59.99949999, 0.125, 1.005, 2.675, 123456789012.5,
                                   0x1p40, 0x1p40 - 1, 0x1p39, 1e12, 9999999999.5, 1e15, 1e20, -1e20, inf, -inf,
                                   std::numeric_limits<double>::quiet_NaN(), 1.7976931348623157e308};
    for (int k = 0; k <= 10; ++k) {
        const double unit = std::pow(10.0, -k);
        for (double n : {0.0, 1.0, 4.0, 9.0, 59.0, 99.0, 999.0, 123456.0, 0x1p40 / std::pow(10.0, k) - 1}) {
            corners.push_back((n + 0.5) * unit);
            corners.push_back(-(n + 0.5) * unit);
            corners.push_back((n + 1) * unit - unit / 2e3);
        }
    }
    for (double c : corners) {
        for (double v : {c, std::nextafter(c, -inf), std::nextafter(c, inf), std::nextafter(std::nextafter(c, inf), inf)}) {
            compare(v, widths, decimals);
            if (HasFatalFailure()) return;
        }
    }
}

// Seeded values: the seconds with decimals the datetime formats hand over,
// and values of every magnitude, at the widths and decimals of those calls
// and at random ones.
TEST(ZfmtFastPath, SeededValues) {
    ServiceHost h;
    std::mt19937_64 rng(10);
    std::uniform_int_distribution<int> second(0, 59), width(1, 22), decimals(-1, 11);
    for (int i = 0; i < 300000; ++i) {
        double v;
        switch (i % 4) {
        case 0: v = second(rng) + static_cast<double>(rng() % 1000000000) / 1e9; break;
        case 1: v = second(rng) + static_cast<double>(rng() % 1000) / 1e3 + (static_cast<double>(rng() % 3) - 1) * 1e-13; break;
        case 2: v = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 100) - 90); break;
        default: v = static_cast<double>(static_cast<std::int64_t>(rng())) / std::pow(10.0, static_cast<int>(rng() % 20)); break;
        }
        if (rng() % 2) v = -v;
        const int d = 1 + static_cast<int>(rng() % 9);
        compare(v, {d + 3, width(rng)}, {d, decimals(rng)});
        if (HasFatalFailure()) return;
    }
}

}  // namespace
