// fmod_units gives std::fmod's result bit for bit: at multiples of the unit
// and a hair either side, for negative values, near the exact limit and
// beyond it, and on seeded values of every magnitude.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "render/remainder.h"

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

void expect_fmod(double x, double unit) {
    const double want = std::fmod(x, unit);
    const double got = fmod_units(x, unit);
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << x;
        return;
    }
    EXPECT_EQ(bits(got), bits(want)) << std::hexfloat << x << " unit " << unit;
}

const double kUnits[] = {1, 60, 3600, 86400};

TEST(FmodUnits, MultiplesAndTheirNeighbours) {
    for (double unit : kUnits)
        for (double k : {0.0, 1.0, 2.0, 59.0, 1e3, 4e6, 1e9, 0x1p52 / 86400})
            for (double sign : {1.0, -1.0}) {
                const double x = sign * k * unit;
                for (double v : {x, std::nextafter(x, -INFINITY), std::nextafter(x, INFINITY), x + 0.5, x - 0.5,
                                 x + 1e-9, x - 1e-9})
                    expect_fmod(v, unit);
            }
}

TEST(FmodUnits, BoundsAndSpecialValues) {
    for (double unit : kUnits)
        for (double v : {0.0, -0.0, 0x1p52, std::nextafter(0x1p52, 0.0), -0x1p52, std::nextafter(-0x1p52, 0.0),
                         1e300, -1e300, 5e-324, -5e-324, -unit, std::nextafter(-unit, 0.0), double(INFINITY), -double(INFINITY),
                         std::nan("")})
            expect_fmod(v, unit);
}

TEST(FmodUnits, SeededValuesOfEveryMagnitude) {
    std::uint64_t state = 0xDA3E39CB94B95BDBull;
    for (int i = 0; i < 200000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double fraction = static_cast<double>(state >> 11) / 9007199254740992.0;
        const double x = (fraction - 0.5) * std::ldexp(1.0, static_cast<int>(state % 60));
        expect_fmod(x, kUnits[i % 4]);
    }
}

}  // namespace
