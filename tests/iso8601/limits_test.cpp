// Width and decimals limits of every date and time routine, and what each
// does outside them with validation off.
#include <gtest/gtest.h>

#include <limits>

#include "host/module_state.h"
#include "iso8601/iso8601.h"
#include "render/format_call.h"
#include "render/render.h"

namespace {

using format_test::call;
using format_test::kMissing;

struct Limit {
    FormatRoutine* routine;
    int min_w, max_w, max_d;
} const kLimits[] = {
    {zfmtime, 2, 20, 19}, {zfmymd, 2, 10, 9},   {zfmymdn, 2, 8, 7},   {zfmymds, 2, 10, 9},
    {f8601da, 10, 10, 0}, {f8601tm, 8, 15, 6},  {f8601dt, 19, 26, 6}, {f8601dn, 10, 10, 0},
    {f8601dz, 20, 35, 6}, {f8601tz, 9, 20, 6},  {f8601lz, 9, 20, 6},  {f8601dx, 20, 35, 6},
    {f8601lx, 20, 35, 6}, {f8601tx, 9, 20, 6},  {b8601da, 8, 10, 0},  {b8601tm, 6, 15, 6},
    {b8601tz, 9, 20, 6},  {b8601dt, 15, 26, 6}, {b8601dz, 20, 35, 6}, {b8601dn, 8, 10, 0},
    {b8601lz, 9, 20, 6},  {b8601dx, 20, 35, 6}, {b8601lx, 20, 35, 6}, {b8601tx, 9, 20, 6},
};

class Limits : public ::testing::Test {
protected:
    Limits() {
        uwxn8601_init();
        isofmt::EnvironmentConfig config;
        config.time_zone = "America/New_York";
        zone = host.host.create_environment(config);
    }
    testing_support::StaticHost host;
    Environment* zone = nullptr;
};

// With the flag set the limits are tested first, in the fixed order, and a
// failure writes nothing; inside the limits every value renders with status
// 0 (present, missing or out of the format's range alike) within the width.
TEST_F(Limits, ValidatedFirstThenRendered) {
    for (const Limit& l : kLimits)
        for (double v : {0.0, 45296.5, kMissing, 1e300}) {
            const struct {
                int w, d;
                std::int32_t status;
            } probes[] = {
                {l.min_w - 1, -1, status::kWidthBelowMin},
                {l.max_w + 1, -1, status::kWidthAboveMax},
                {l.max_w, -1, status::kDecimalsBelowMin},
                {l.min_w, l.max_d + 1, status::kDecimalsAboveMax},
            };
            for (const auto& p : probes) {
                auto r = call(l.routine, v, p.w, p.d, true, zone);
                EXPECT_EQ(r.status, p.status) << l.min_w << ": " << p.w << "." << p.d << " of " << v;
                EXPECT_FALSE(r.wrote);
            }
            // The rendering primitives (minimum width 2) report a value
            // outside the calendar; the formats show it as asterisks.
            const std::int32_t want = l.min_w == 2 && v == 1e300 ? status::kOutOfRange : status::kOk;
            for (int w = l.min_w; w <= l.max_w; ++w)
                for (int d = 0; d <= l.max_d; ++d) {
                    auto r = call(l.routine, v, w, d, true, zone);
                    ASSERT_EQ(r.status, want) << l.min_w << ": " << w << "." << d << " of " << v;
                    ASSERT_EQ(r.length, w);
                    ASSERT_FALSE(r.beyond);
                }
        }
}

// Validation off: widths and decimals far outside the limits and awkward
// values still stay inside the width, and the output length is the width.
TEST_F(Limits, OutsideTheLimitsStaysInsideTheWidth) {
    const double values[] = {
        0, -0.0, 0.5, 32700.25, 86399.9999999, 86400, -1, 2936547.5, 253717747199.9999,
        -11928470400, 569318630399.5, -1e300, std::numeric_limits<double>::infinity(), kMissing,
        std::numeric_limits<double>::denorm_min(),
    };
    for (const Limit& l : kLimits)
        for (double v : values)
            for (int w = -2; w <= 45; ++w)
                for (int d : {-3, -1, 0, 1, 3, 7, 12, 19, 25, 40}) {
                    auto r = call(l.routine, v, w, d, false, zone);
                    ASSERT_FALSE(r.beyond) << v << " w" << w << " d" << d;
                    ASSERT_EQ(r.length, w > 0 ? w : 0) << v << " w" << w << " d" << d;
                }
}

}  // namespace
