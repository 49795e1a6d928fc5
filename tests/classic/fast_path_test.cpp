// The common-case shortcuts of the clock formats against their general
// paths: the same buffer (text, and nothing written past the field), status
// and output length, on values weighted to the corners (every carry of the
// rounding, hour 24, noon and midnight on the 12-hour clock, negative
// values, the range bounds), at every width and decimals around the full
// text's, with and without validation, a capacity short of the width, a
// task environment without month names, and on seeded random values.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "classic_support.h"

namespace classic_test {
namespace {

constexpr double kDay = 86400;
constexpr double kFirst = -138061.0 * kDay;  // 1582-01-01T00:00:00
constexpr double kEnd = 6589336.0 * kDay;    // the first second past the range

// A routine with a shortcut, its general path, and the text's width at 0
// decimals (a point and the decimals come on top); 0 for the elapsed times,
// whose text has no one width.
struct Pair {
    const char* name;
    FormatRoutine* fast;
    FormatRoutine* general;
    int full;
    bool datetime;  // values are datetimes, else times
};

const Pair kPairs[] = {
    {"zfmdttm", zfmdttm, zfmdttm_general, 16, true},
    {"zfmdtmm", zfmdtmm, zfmdtmm_general, 19, true},
    {"zfmdyam", zfmdyam, zfmdyam_general, 17, true},
    {"zfmtod", zfmtod, zfmtod_general, 8, false},
    {"zfmtimm", zfmtimm, zfmtimm_general, 11, false},
    {"zfmhour", zfmhour, zfmhour_general, 0, false},
    {"zfmmmss", zfmmmss, zfmmmss_general, 0, false},
    {"zfmhhmm", zfmhhmm, zfmhhmm_general, 0, false},
};

struct Result {
    std::string buffer;  // the whole buffer: what is past the field must be untouched
    std::int32_t status;
    std::int32_t length;
};

constexpr int kBuffer = 96;

Result render(FormatRoutine* routine, double x, int width, int decimals, bool validate, int capacity,
              Environment* environment) {
    std::string buffer(kBuffer, kGuard);
    FormatBlock b = testing_support::numeric_block(&x, width, decimals, buffer.data(), capacity, validate);
    b.environment = environment;
    b.output_length = -99;
    const std::int32_t status = routine(&b);
    return {buffer, status, b.output_length};
}

class FastPath : public ClassicTest {
protected:
    void expect_same(const Pair& p, double x, int width, int decimals, bool validate, int capacity = -1,
                     Environment* environment = nullptr) {
        if (capacity < 0) capacity = width > 0 ? width : 0;
        const Result fast = render(p.fast, x, width, decimals, validate, capacity, environment);
        const Result general = render(p.general, x, width, decimals, validate, capacity, environment);
        ASSERT_EQ(fast.buffer, general.buffer)
            << p.name << " " << std::hexfloat << x << " w" << width << " d" << decimals << " cap" << capacity;
        ASSERT_EQ(fast.status, general.status) << p.name << " " << std::hexfloat << x << " w" << width;
        ASSERT_EQ(fast.length, general.length) << p.name << " " << std::hexfloat << x << " w" << width;
        const int field = std::max(0, std::min(width, capacity));
        ASSERT_EQ(fast.buffer.find_first_not_of(kGuard, static_cast<std::size_t>(field)), std::string::npos)
            << p.name << " wrote past the field: " << std::hexfloat << x << " w" << width;
        ++compared;
    }
    long compared = 0;
};

// Fractions at and around each rounding edge: half a second (and the hair
// the renderer adds), the last tenth, hundredth, ..., the last
// representable fraction.
const double kFractions[] = {0,           0.25,        0.4999999,   0.49999999, 0.499999995, 0.5 - 1e-8,
                             0.5,         0.50000001,  0.500000011, 0.9,        0.94999999,  0.95,
                             0.995,       0.9995,      0.99949999,  0.99995,    0.999995,    0.9999995,
                             0.999999949, 0.999999999, 0.0004999,   0.75,       0.94999999999, 0.9949999999};

// Times of day at every carry: the last second of a minute and of an hour,
// one-digit and two-digit hours, noon and midnight on either side.
std::vector<double> corner_times() {
    std::vector<double> t;
    for (int h : {0, 9, 10, 11, 12, 13, 23})
        for (int m : {0, 59})
            for (int s : {0, 29, 59})
                for (double f : kFractions) t.push_back(h * 3600.0 + m * 60 + s + f);
    return t;
}

std::vector<int> widths_around(const Pair& p, int decimals) {
    if (p.full == 0) return {1, 4, 5, 6, 8, 9, 11, 14, 20};
    const int full = p.full + (decimals > 0 ? decimals + 1 : 0);
    return {full - 1, full, full + 1, full + 2, full + 4, 40};
}

TEST_F(FastPath, CornersAtEveryWidthAndDecimals) {
    const std::vector<double> times = corner_times();
    // The range's first day, the days around 1960-01-01, a leap day, the
    // last day of 9999 and of the range; for elapsed times long spans too.
    const std::vector<double> datetime_days = {-138061, -1, 0, 23517, 2936547, 6589335};
    const std::vector<double> time_days = {-138061, -1, 0, 6589335};
    const std::vector<double> elapsed_days = {-1, 0, 41666};
    const std::vector<int> all_decimals = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<int> elapsed_decimals = {-1, 0, 1, 2, 3, 9, 10};
    for (const Pair& p : kPairs)
        for (double day : p.datetime ? datetime_days : p.full ? time_days : elapsed_days)
            for (double t : times) {
                const double x = day * kDay + t;
                for (double v : {x, std::nextafter(x, -INFINITY)})
                    for (int decimals : p.full ? all_decimals : elapsed_decimals)
                        for (int width : widths_around(p, decimals))
                            expect_same(p, v, width, decimals, (width + decimals) % 2 == 0);
            }
    EXPECT_GT(compared, 1000000);
}

TEST_F(FastPath, RangeBoundsSpecialValuesAndEveryWidth) {
    const double values[] = {kFirst,        std::nextafter(kFirst, -INFINITY), kFirst - 0.5, kEnd,
                             std::nextafter(kEnd, -INFINITY), kEnd - 0.5, 2936548.0 * kDay - 0.0001,
                             2936548.0 * kDay, -0.0, 0.0, -0.5, -0.4999999, -1e-300, -kDay,
                             std::nextafter(-kDay, 0.0), -kDay - 0.5, 1e300, -1e300, INFINITY, -INFINITY, kMissing};
    for (const Pair& p : kPairs)
        for (double v : values)
            for (int width = -1; width <= 41; ++width)
                for (int decimals = -2; decimals <= 22; ++decimals)
                    for (bool validate : {false, true}) expect_same(p, v, width, decimals, validate);
}

// Widths and decimals at the ends of int (without validation), the widths
// beyond a capacity of 40.
TEST_F(FastPath, ExtremeWidthsAndDecimals) {
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    for (const Pair& p : kPairs)
        for (double x : {2031915907.25, -1.5, 3599.9996})
            for (int width : {kMin, kMin + 1, -5, 41, kMax - 1, kMax})
                for (int decimals : {kMin, -1, 0, 3, 9, 10, kMax})
                    expect_same(p, x, width, decimals, false, width > 0 ? 40 : 0);
}

TEST_F(FastPath, ShortCapacityAndEnvironmentWithoutMonthNames) {
    isofmt::EnvironmentConfig config;
    config.month_table = false;
    Environment* without = host.host.create_environment(config);
    for (const Pair& p : kPairs)
        for (double x : {2031915907.25, -1234567890.9996, 86399.9999})
            for (int decimals = 0; decimals <= 4; ++decimals)
                for (int width = std::max(1, p.full - 2); width <= p.full + 8; ++width) {
                    for (int capacity = 0; capacity <= width + 1; ++capacity) expect_same(p, x, width, decimals, true, capacity);
                    expect_same(p, x, width, decimals, false, -1, without);
                }
}

TEST_F(FastPath, SeededValuesOverTheWholeRange) {
    std::uint64_t state = 0x853C49E6748FEA9Bull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (const Pair& p : kPairs)
        for (int i = 0; i < 200000; ++i) {
            double x = p.datetime ? kFirst + next() * (kEnd - kFirst) : (next() - 0.3) * kDay * (i % 5 ? 2 : 1e5);
            if (i % 2) x = std::floor(x * 1000) / 1000;  // millisecond fractions, as stored values often are
            const int decimals = i % 10;
            const int width = p.full ? p.full + decimals + (decimals > 0) + i % 3 : 1 + i % 20;
            expect_same(p, x, width, decimals, i % 7 == 0);
        }
}

}  // namespace
}  // namespace classic_test
