// The time of day (zfmtod) and the 12-hour clock (zfmtimm).
#include <algorithm>
#include <cmath>

#include "classic_support.h"

namespace classic_test {
namespace {

struct Case {
    double value;
    int width, decimals;
    const char* text;
};

void expect_texts(FormatRoutine* routine, const char* name, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        Call call;
        call.value = c.value;
        call.width = c.width;
        call.decimals = c.decimals;
        const Output out = run(routine, call);
        EXPECT_EQ(out.text, c.text) << name << " of " << c.value << " w" << c.width << " d" << c.decimals;
        EXPECT_EQ(out.status, kOk) << name << " of " << c.value;
        EXPECT_EQ(out.length, c.width);
        EXPECT_TRUE(out.guard_intact);
    }
}

using TimeOfDay = ClassicTest;

TEST_F(TimeOfDay, PadsTheHourWhereThereIsRoomAndNeverShows24) {
    expect_texts(zfmtod, "zfmtod",
                 {
                     {3600, 8, 0, "01:00:00"},
                     {3600, 7, 0, "1:00:00"},
                     {3600, 2, 0, "01"},
                     {3600, 5, 0, "01:00"},
                     {90000, 8, 0, "01:00:00"},               // a datetime: its time of day
                     {-1, 8, 0, "23:59:59"},                  // the day before
                     {86399.6, 8, 0, "23:59:59"},             // would round up to 24:00:00
                     {86399.6, 5, 0, "23:59"},
                     {86399.6, 2, 0, "23"},
                     {86399.9996, 12, 3, "23:59:59.999"},
                     {86399.96, 10, 2, "23:59:59.9"},         // decimals cut by the width
                     {45296.789, 12, 3, "12:34:56.789"},
                     {45296.789, 11, 3, "12:34:56.79"},
                     {45296.789, 10, 3, "12:34:56.8"},
                     {45296.789, 9, 3, " 12:34:57"},           // no room for a decimal
                     {86400.0 * 11574 + 3661, 8, 0, "01:01:01"},
                 });
}

using TwelveHour = ClassicTest;

TEST_F(TwelveHour, ShowsHourAndSuffixOfTheDocumentedExamples) {
    expect_texts(zfmtimm, "zfmtimm",
                 {
                     {0, 11, 0, "12:00:00 AM"},
                     {3600, 11, 0, " 1:00:00 AM"},
                     {43200, 11, 0, "12:00:00 PM"},
                     {45296.789, 11, 0, "12:34:57 PM"},
                     {45296.789, 8, 0, "12:34 PM"},      // minutes not rounded by seconds
                     {46800, 11, 0, " 1:00:00 PM"},
                     {82800, 11, 0, "11:00:00 PM"},
                     {-90, 11, 0, "11:58:30 PM"},        // folded into the day
                     {86399.6, 11, 0, "12:00:00 AM"},
                     {0, 4, 0, "  AM"},
                     {50000, 4, 0, "  PM"},
                     {0, 5, 0, "12 AM"},
                     {3600, 5, 0, " 1 AM"},
                     {45296.25, 14, 2, "12:34:56.25 PM"},
                 });
}

// The hour, the suffix and the day come from the time as shown, after every
// rounding, the decimals that the width cuts included.
TEST_F(TwelveHour, ChoosesTheClockAfterRounding) {
    expect_texts(zfmtimm, "zfmtimm",
                 {
                     {43199.996, 14, 2, "12:00:00.00 PM"},  // rounds up to noon
                     {46799.7, 11, 2, " 1:00:00 PM"},       // 12:59:59.7 cut to seconds
                     {46799.7, 12, 2, "  1:00:00 PM"},
                     {86399.996, 14, 2, "12:00:00.00 AM"},  // rounds up to midnight
                     {86399.7, 11, 2, "12:00:00 AM"},
                     {-0.3, 11, 0, "12:00:00 AM"},          // within half a second of midnight
                     {-0.004, 14, 2, "12:00:00.00 AM"},
                     {3599.96, 13, 2, " 1:00:00.0 AM"},    // 12:59:59.96 keeps one decimal
                     {3599.7, 11, 2, " 1:00:00 AM"},
                     {39599.7, 11, 2, "11:00:00 AM"},
                     {86399.999, 4, 2, "  AM"},             // no digits: the rounded suffix
                     {43199.999, 4, 2, "  PM"},
                 });
}

// A fraction a hair below the next whole second rounds to that second, not
// past it, however small the value (below a few thousand seconds a double
// holds fractions finer than 10^-12).
TEST_F(TwelveHour, HairBelowASecondRoundsToThatSecond) {
    expect_texts(zfmtimm, "zfmtimm",
                 {
                     {0.9999999999995, 11, 0, "12:00:01 AM"},
                     {2.9999999999999996, 11, 0, "12:00:03 AM"},
                     {59.99999999999999, 11, 0, "12:01:00 AM"},
                     {3599.9999999999995, 12, 1, "1:00:00.0 AM"},
                     {86400 + 0.9999999999995, 11, 0, "12:00:01 AM"},
                 });
}

// A time that rounds from 12:59:59.x up to 1 o'clock is drawn with the
// decimals the one hour digit leaves room for, unless that extra decimal
// would keep it at 12:59:59.x (whose two hour digits leave no room for it).
TEST_F(TwelveHour, OneOClockAfterACarryTakesTheDecimalsItsHourLeaves) {
    expect_texts(zfmtimm, "zfmtimm",
                 {
                     {3599.999, 12, 2, "1:00:00.0 AM"},
                     {46799.9996, 14, 3, "1:00:00.000 PM"},
                     {3599.9996, 14, 3, "1:00:00.000 AM"},
                     {3599.95, 12, 2, "1:00:00.0 AM"},
                     {3599.94, 12, 2, "  1:00:00 AM"},      // 12:59:59.9 with one decimal
                     {3599.996, 14, 3, " 1:00:00.00 AM"},   // 12:59:59.996 with three
                     {3599.9, 10, 1, "1:00:00 AM"},         // no room for a decimal either way
                     {46799.999, 9, 2, "  1:00 PM"},
                 });
}

// The same over every width and decimals, for fractions of a second short of
// 1 o'clock that lie on no rounding tie: the text is 1 o'clock exactly when
// the fraction rounds up beside the 12, with the decimals that fit beside
// the 1 when the fraction rounds up with them too, else those beside the 12.
TEST_F(TwelveHour, OneOClockDecimalsOverEveryWidth) {
    for (int j = 39000; j < 40000; ++j) {
        const double f = (2.0 * j + 1) / 80000;  // never a tie at up to four decimals
        for (double noon : {0.0, 43200.0}) {
            for (int width = 5; width <= 20; ++width) {
                for (int decimals = 2; decimals <= 4; ++decimals) {
                    const int inner = width - 3;
                    const auto fitting = [&](int hour_digits) {
                        return std::max(0, std::min(decimals, inner - hour_digits - 7));
                    };
                    const auto carries = [&](int k) { return f >= 1 - 0.5 / std::pow(10, k); };
                    if (!carries(fitting(2))) continue;
                    const int k = carries(fitting(1)) ? fitting(1) : fitting(2);
                    const int room = inner - 1;
                    std::string clock = room < 3 ? "1" : room < 6 ? "1:00" : "1:00:00";
                    if (room >= 8 && k > 0) clock += "." + std::string(static_cast<std::size_t>(k), '0');
                    const std::string want = std::string(static_cast<std::size_t>(inner) - clock.size(), ' ') +
                                             clock + (noon > 0 ? " PM" : " AM");
                    Call c;
                    c.value = noon + 3599 + f;
                    c.width = width;
                    c.decimals = decimals;
                    ASSERT_EQ(run(zfmtimm, c).text, want) << c.value << " w" << width << " d" << decimals;
                }
            }
        }
    }
}

TEST_F(TwelveHour, NeverShowsZeroOrThirteen) {
    // Every tenth of a second around each hour, at every width and decimals.
    for (int hour = 0; hour < 24; ++hour) {
        for (double offset = -1.05; offset <= 1.05; offset += 0.1) {
            const double value = hour * 3600.0 + offset;
            for (int width = 5; width <= 20; ++width) {
                for (int decimals = 0; decimals <= 4; ++decimals) {
                    Call c;
                    c.value = value;
                    c.width = width;
                    c.decimals = decimals;
                    const Output out = run(zfmtimm, c);
                    ASSERT_EQ(out.length, width);
                    const std::string clock = out.text.substr(0, static_cast<std::size_t>(width - 3));
                    const std::size_t first = clock.find_first_not_of(' ');
                    ASSERT_NE(first, std::string::npos);
                    const int shown = std::stoi(clock.substr(first));
                    EXPECT_GE(shown, 1) << out.text;
                    EXPECT_LE(shown, 12) << out.text;
                }
            }
        }
    }
}

}  // namespace
}  // namespace classic_test
