// Elapsed time: decimal hours, minutes:seconds and hours:minutes.
#include "classic_support.h"

namespace classic_test {
namespace {

struct Case {
    FormatRoutine* routine;
    double value;
    int width, decimals, capacity;
    const char* text;
    std::int32_t status;
};

using Elapsed = ClassicTest;

TEST_F(Elapsed, RendersEachLayout) {
    const Case cases[] = {
        // Decimal hours: half an hour rounds up without decimals; no sign.
        {zfmhour, 5400, 4, 0, -1, "   2", kOk},
        {zfmhour, 5399, 4, 0, -1, "   1", kOk},
        {zfmhour, 5400, 4, 1, -1, " 1.5", kOk},
        {zfmhour, 90000, 4, 0, -1, "  25", kOk},
        {zfmhour, -5400, 4, 0, -1, "   2", kOk},
        {zfmhour, 5400, 8, 0, 3, "  2", kCapacity},  // the host's numeral fitted to 3
        // Minutes and seconds: the trailing part is cut, not rounded.
        {zfmmmss, 45296.789, 9, 2, -1, "754:56.79", kOk},
        {zfmmmss, 45296.789, 8, 2, -1, "754:56.7", kOk},
        {zfmmmss, 45296.789, 7, 2, -1, "754:56.", kOk},
        {zfmmmss, 45296.789, 6, 2, -1, "754:56", kOk},
        {zfmmmss, 45296.789, 5, 2, -1, "  754", kOk},
        {zfmmmss, 45296.789, 3, 2, -1, "754", kOk},
        {zfmmmss, 45296.789, 2, 2, -1, "**", kOk},
        {zfmmmss, 3599.6, 5, 0, -1, "60:00", kOk},   // seconds that round to 60 carry
        {zfmmmss, 59.996, 8, 2, -1, " 1:00.00", kOk},
        {zfmmmss, -90, 5, 0, -1, "-1:30", kOk},
        {zfmmmss, -90, 4, 0, -1, "  -1", kOk},
        {zfmmmss, 90000, 4, 0, -1, "1500", kOk},
        {zfmmmss, 5, 4, 0, -1, "0:05", kOk},
        {zfmmmss, 45296.789, 8, 2, 6, "754:56", kCapacity},
        {zfmmmss, 45296.789, 8, 2, 2, "**", kCapacity},
        // Hours and minutes: more than 30 leftover seconds round up.
        {zfmhhmm, 45331, 5, 0, -1, "12:36", kOk},
        {zfmhhmm, 45330, 5, 0, -1, "12:35", kOk},
        {zfmhhmm, 45330, 8, 2, -1, "12:35.50", kOk},
        {zfmhhmm, 3599.5, 5, 0, -1, " 1:00", kOk},   // 59 minutes and 59.5 seconds
        {zfmhhmm, 3599.9999, 8, 2, -1, " 1:00.00", kOk},
        {zfmhhmm, -90, 5, 0, -1, "-0:01", kOk},
        {zfmhhmm, 90000, 5, 0, -1, "25:00", kOk},
        {zfmhhmm, 45330, 20, 19, -1, "12:35.50000000000000", kOk},
    };
    for (const Case& k : cases) {
        Call c;
        c.value = k.value;
        c.width = k.width;
        c.decimals = k.decimals;
        c.capacity = k.capacity;
        const Output out = run(k.routine, c);
        EXPECT_EQ(out.text, k.text) << k.value << " w" << k.width << " d" << k.decimals;
        EXPECT_EQ(out.status, k.status) << k.value << " w" << k.width;
        EXPECT_TRUE(out.guard_intact);
    }
}

}  // namespace
}  // namespace classic_test
