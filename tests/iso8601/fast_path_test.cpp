// The common-case shortcuts of E8601DA and of the extended, zone-qualified
// and basic datetimes against their general paths: the same text, status,
// output length and nothing written beyond the width, on values weighted to
// the corners (every carry of the rounding, hour 24, negative values, the
// range bounds, shifts by a zone past them) at every width and decimals
// around the item table's, with and without validation, and on seeded
// random values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "iso8601/iso8601.h"
#include "iso8601/shown_datetime.h"
#include "render/render.h"
#include "render/format_call.h"

namespace {

using format_test::call;

constexpr double kDay = 86400;
constexpr double kFirst = -138061.0 * kDay;  // 1582-01-01T00:00:00
constexpr double kEnd = 2936548.0 * kDay;    // just past 9999-12-31

// A datetime routine with a common case, its general path, and the task
// zone it is called with (none: the host's default environment).
struct Pair {
    const char* name;
    FormatRoutine* fast;
    FormatRoutine* general;
    const char* zone = nullptr;
};

const Pair kDatetimePairs[] = {
    {"E8601DT", f8601dt, f8601dt_general},
    {"E8601DZ", f8601dz, f8601dz_general},
    {"E8601DX", f8601dx, f8601dx_general},
    {"E8601DX New York", f8601dx, f8601dx_general, "America/New_York"},
    {"E8601DX +05:30", f8601dx, f8601dx_general, "+05:30"},
    {"E8601LX New York", f8601lx, f8601lx_general, "America/New_York"},
    {"E8601LX -03:00", f8601lx, f8601lx_general, "-03:00"},
    {"B8601DT", b8601dt, b8601dt_general},
    {"B8601DZ", b8601dz, b8601dz_general},
    {"B8601DX New York", b8601dx, b8601dx_general, "America/New_York"},
    {"B8601DX +05:45", b8601dx, b8601dx_general, "+05:45"},
    {"B8601LX -03:00", b8601lx, b8601lx_general, "-03:00"},
};

class FastPath : public ::testing::Test {
protected:
    void expect_same(double x, int width, int decimals, bool validate, FormatRoutine* fast_routine = f8601dt,
                     FormatRoutine* general_routine = f8601dt_general, Environment* environment = nullptr) {
        const format_test::Call fast = call(fast_routine, x, width, decimals, validate, environment);
        const format_test::Call general = call(general_routine, x, width, decimals, validate, environment);
        ASSERT_EQ(fast.text, general.text) << std::hexfloat << x << " w" << width << " d" << decimals;
        ASSERT_EQ(fast.status, general.status) << std::hexfloat << x << " w" << width << " d" << decimals;
        ASSERT_EQ(fast.length, general.length) << std::hexfloat << x << " w" << width << " d" << decimals;
        ASSERT_EQ(fast.beyond, general.beyond) << std::hexfloat << x << " w" << width << " d" << decimals;
        ++compared;
    }
    void expect_same(const Pair& p, double x, int width, int decimals, bool validate) {
        SCOPED_TRACE(p.name);
        expect_same(x, width, decimals, validate, p.fast, p.general, environment(p));
    }
    Environment* environment(const Pair& p) {
        if (p.zone == nullptr) return nullptr;
        isofmt::EnvironmentConfig config;
        config.time_zone = p.zone;
        auto [at, fresh] = environments.try_emplace(p.zone, nullptr);
        if (fresh) at->second = host.host.create_environment(config);
        return at->second;
    }
    testing_support::StaticHost host;
    std::map<std::string, Environment*> environments;
    long compared = 0;
};

// Fractions at and around each rounding edge: half a second (and the hair
// the renderer adds), the last millisecond, the last representable fraction.
const double kFractions[] = {0,           0.25,        0.4999999,  0.49999999, 0.499999995, 0.5 - 1e-8,
                             0.5,         0.50000001,  0.500000011, 0.9,       0.94999999,  0.95,
                             0.995,       0.9995,      0.99949999, 0.99995,    0.999995,    0.9999995,
                             0.999999949, 0.999999999, 0.0004999,  0.75};

// Times of day at every carry: the last second of a minute, an hour, the
// day, one-digit and two-digit hours.
std::vector<double> corner_times() {
    std::vector<double> t;
    for (int h : {0, 9, 10, 12, 23})
        for (int m : {0, 1, 58, 59})
            for (int s : {0, 29, 58, 59})
                for (double f : kFractions) t.push_back(h * 3600.0 + m * 60 + s + f);
    return t;
}

const double kCornerDays[] = {-138061, -1, 0, 23517, 2936547};

TEST_F(FastPath, CornersAtEveryWidthAndDecimals) {
    const std::vector<double> times = corner_times();
    for (double day : kCornerDays)
        for (double t : times) {
            const double x = day * kDay + t;
            for (double v : {x, std::nextafter(x, -INFINITY)})
                for (int decimals = -1; decimals <= 10; ++decimals) {
                    const int full = 19 + (decimals > 0 ? decimals + 1 : 0);
                    for (int width : {full - 1, full, full + 1, 26})
                        for (bool validate : {false, true}) expect_same(v, width, decimals, validate);
                }
        }
    EXPECT_GT(compared, 1000000);
}

// Every fraction at the last second of the hour and the day, at the widths
// around each text's full width: the extended text with room for a
// designator, for a Z only and for none, and the basic text.
TEST_F(FastPath, ZoneAndBasicCornersAroundTheFullWidths) {
    for (const Pair& p : kDatetimePairs)
        for (double day : kCornerDays)
            for (int h : {0, 23})
                for (int m : {0, 59})
                    for (int s : {0, 59})
                        for (double f : kFractions) {
                            const double x = day * kDay + h * 3600.0 + m * 60 + s + f;
                            for (double v : {x, std::nextafter(x, -INFINITY)})
                                for (int decimals = -1; decimals <= 7; ++decimals) {
                                    const int full = 19 + (decimals > 0 ? decimals + 1 : 0);
                                    for (int width : {full - 5, full - 4, full, full + 1, full + 5, full + 6, 35})
                                        for (bool validate : {false, true}) expect_same(p, v, width, decimals, validate);
                                }
                        }
}

// Every width from 0 to 40 on the carries of the minute, the hour and the
// day, with the fractions nearest them.
TEST_F(FastPath, CarriesAtEveryWidth) {
    const double fractions[] = {0, 0.4999999, 0.5, 0.9995, 0.99949999, 0.999995, 0.9999995, 0.999999999};
    for (const Pair& p : kDatetimePairs)
        for (double day : kCornerDays)
            for (int h : {0, 23})
                for (int m : {0, 59})
                    for (double f : fractions) {
                        const double x = day * kDay + h * 3600.0 + m * 60 + 59 + f;
                        for (double v : {x, std::nextafter(x, -INFINITY)})
                            for (int width = 0; width <= 40; ++width)
                                for (int decimals = -1; decimals <= 7; ++decimals)
                                    for (bool validate : {false, true}) expect_same(p, v, width, decimals, validate);
                    }
}

TEST_F(FastPath, RangeBoundsAndSpecialValues) {
    const double values[] = {kFirst, std::nextafter(kFirst, -INFINITY), kFirst - 0.5, kFirst + 3600, kEnd,
                             std::nextafter(kEnd, -INFINITY), kEnd - 0.5, kEnd - 0.0001, kEnd - 3600, -0.0, 0.0,
                             -0.5, -0.4999999, -1e-300, 1e300, -1e300, INFINITY, -INFINITY, std::nan("")};
    for (const Pair& p : kDatetimePairs)
        for (double v : values)
            for (int width = 0; width <= 40; ++width)
                for (int decimals = -2; decimals <= 8; ++decimals)
                    for (bool validate : {false, true}) expect_same(p, v, width, decimals, validate);
}

TEST_F(FastPath, SeededValuesOverTheWholeRange) {
    std::uint64_t state = 0x853C49E6748FEA9Bull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (const Pair& p : kDatetimePairs)
        for (int i = 0; i < 100000; ++i) {
            double x = kFirst + next() * (kEnd - kFirst);
            if (i % 2) x = std::floor(x * 1000) / 1000;  // millisecond fractions, as stored values often are
            const int decimals = i % 8;
            const int width = i % 5 == 0 ? i % 41 : 19 + decimals + (decimals > 0) + i % 8;
            expect_same(p, x, width, decimals, i % 7 == 0);
        }
}

// The half units the common case takes from its table are the ones the
// time renderer computes.
TEST(HalfUnits, AsComputedAtRunTime) {
    for (int d = 0; d < 10; ++d) {
        volatile double power = zpowten[d + 1];
        EXPECT_EQ(shown_detail::kHalfUnits.of[d], 5 / power + 0.00000001) << d;
    }
}

TEST_F(FastPath, DatesAtTheBoundsAndBetween) {
    std::vector<double> days = {-138062, -138061.5, -138061, -138060.99, -1, -0.5, -0.0, 0, 0.999999, 23517.75,
                                2936547, 2936547.9999, 2936548, INFINITY, -INFINITY, std::nan("")};
    for (int i = -400; i <= 400; ++i) days.push_back(i * 366.0 + 0.25 * (i % 4));  // every month's ends over years
    for (double day : days)
        for (int width = 0; width <= 12; ++width)
            for (int decimals = -1; decimals <= 10; ++decimals)
                for (bool validate : {false, true}) expect_same(day, width, decimals, validate, f8601da, f8601da_general);
    std::uint64_t state = 0x5851F42D4C957F2Dull;
    for (int i = 0; i < 100000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double day = -138061 + static_cast<double>(state >> 11) / 9007199254740992.0 * (2936548.0 + 138061);
        expect_same(i % 2 ? std::floor(day) : day, 10, 0, i % 3 == 0, f8601da, f8601da_general);
    }
}

}  // namespace
