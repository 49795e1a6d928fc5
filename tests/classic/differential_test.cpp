// The datetime formats against texts built independently with the civil
// calendar of Howard Hinnant's date library, over datetimes from 1582 to 9999.
//
// Datetimes are whole quarter-milliseconds plus one quarter (N ticks of
// 1/4000 s, N odd), so no value lies on a rounding tie at up to 3 decimals
// and the expected text follows from integer arithmetic: round half up.
#include <cstdio>
#include <random>

#include <date/date.h>

#include "classic_support.h"

namespace classic_test {
namespace {

using Ticks = std::int64_t;
constexpr Ticks kTicksPerSecond = 4000;
constexpr Ticks kTicksPerDay = 86400 * kTicksPerSecond;
constexpr int kUnixDay1960 = -3653;  // 1960-01-01 in days since 1970-01-01
const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

Ticks floor_div(Ticks a, Ticks b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

// t rounded half up to a multiple of unit.
Ticks round_to(Ticks t, Ticks unit) { return floor_div(t + unit / 2, unit) * unit; }

Ticks unit_of(int decimals) {
    Ticks unit = kTicksPerSecond;
    for (int i = 0; i < decimals; ++i) unit /= 10;
    return unit;
}

struct Civil {
    int year;
    unsigned month, day;
};

Civil civil(Ticks day) {
    const date::year_month_day ymd{date::sys_days{date::days{day + kUnixDay1960}}};
    return {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day())};
}

std::string year_text(int year, bool four) {
    char s[16];
    if (!four) std::snprintf(s, sizeof s, "%02d", year % 100);
    else if (year > 9999) std::snprintf(s, sizeof s, "****");
    else std::snprintf(s, sizeof s, "%04d", year);
    return s;
}

std::string right_aligned(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) return text.substr(0, static_cast<std::size_t>(width));
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// ddMMMyy[yy]:time as it should read at `width` with `decimals` requested;
// *hour_at is where the two hour digits start (or -1).
std::string expected_datetime(Ticks n, int width, int decimals, int* hour_at) {
    Ticks day = floor_div(n, kTicksPerDay);
    Ticks tod = n - day * kTicksPerDay;
    // A time that rounds to 24:00 at the requested decimals is the next
    // midnight.
    if (round_to(tod, unit_of(decimals)) >= kTicksPerDay) {
        ++day;
        tod = 0;
    }
    int d = decimals;
    if (d > 0 && width - d < 16) d = std::max(width - 16, 0);
    const bool four = width - d > 18 || width - d == 9;
    const Civil c = civil(day);
    char date_text[16];
    std::snprintf(date_text, sizeof date_text, "%02u%s%s", c.day, kMonths[c.month - 1], year_text(c.year, four).c_str());
    std::string text = date_text;
    *hour_at = -1;
    if (width <= 9) return right_aligned(text, width);
    text += ':';
    const int pos = static_cast<int>(text.size());
    // The time as shown: seconds at d decimals, or hours and minutes, or
    // hours, each counted from the time rounded to the unit it shows; a
    // shown 24 reads as the last instant before it.
    char time_text[32];
    if (width >= pos + 8) {
        const Ticks unit = unit_of(d);
        const Ticks r = round_to(tod, unit);
        if (r >= kTicksPerDay) {
            std::snprintf(time_text, sizeof time_text, "23:59:59%s%s", d > 0 ? "." : "", std::string(d, '9').c_str());
        } else {
            const Ticks s = r / kTicksPerSecond;
            std::snprintf(time_text, sizeof time_text, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                          static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
            if (d > 0) {
                const std::string digits = std::to_string(r % kTicksPerSecond / unit);
                std::strcat(time_text, ("." + std::string(static_cast<std::size_t>(d) - digits.size(), '0') + digits).c_str());
            }
        }
    } else {
        const Ticks s = round_to(tod, kTicksPerSecond) / kTicksPerSecond;
        if (width >= pos + 5)
            std::snprintf(time_text, sizeof time_text, "%02lld:%02lld", std::min<long long>(s / 3600, 23),
                          s >= 86400 ? 59LL : static_cast<long long>(s / 60 % 60));
        else
            std::snprintf(time_text, sizeof time_text, "%02lld", std::min<long long>(s / 3600, 23));
    }
    text += time_text;
    const int pad = width - static_cast<int>(text.size());
    *hour_at = pos + (pad > 0 ? pad : 0);
    return right_aligned(text, width);
}

std::string expected_datetime_ampm(Ticks n, int width, int decimals) {
    int hour_at;
    if (width < 13) return expected_datetime(n, width, decimals, &hour_at);
    std::string text = expected_datetime(n, width - 3, decimals, &hour_at);
    const int hour = std::stoi(text.substr(static_cast<std::size_t>(hour_at), 2));
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    text[static_cast<std::size_t>(hour_at)] = static_cast<char>('0' + twelve / 10);
    text[static_cast<std::size_t>(hour_at) + 1] = static_cast<char>('0' + twelve % 10);
    return text + (hour >= 12 ? " PM" : " AM");
}

std::string expected_date_ampm(Ticks n, int width) {
    Ticks day = floor_div(n, kTicksPerDay);
    std::string time;
    if (width >= 17) {
        // Whole seconds rounded half up, then whole minutes.
        const Ticks s = round_to(n - day * kTicksPerDay, kTicksPerSecond) / kTicksPerSecond;
        if (s >= 86400) ++day;
        const int minutes = static_cast<int>(s % 86400 / 60);
        const int hour = minutes / 60;
        char clock[24];
        std::snprintf(clock, sizeof clock, "%d:%02d", hour % 12 == 0 ? 12 : hour % 12, minutes % 60);
        time = right_aligned(clock, 6) + (hour >= 12 ? " PM" : " AM");
    }
    const Civil c = civil(day);
    char date_text[16];
    std::snprintf(date_text, sizeof date_text, "%u/%u/%s", c.month, c.day, year_text(c.year, width >= 19).c_str());
    return right_aligned(date_text, width - static_cast<int>(time.size())) + time;
}

using Differential = ClassicTest;

TEST_F(Differential, AgreesWithTheCivilCalendar) {
    const Ticks first = static_cast<Ticks>(-138061) * kTicksPerDay;  // 1582-01-01
    const Ticks last = static_cast<Ticks>(2936547) * kTicksPerDay;   // 10000-01-01
    std::mt19937_64 random(20240521);
    std::uniform_int_distribution<Ticks> anywhere(first, last - 1);
    // Near midnight, noon and whole hours, where the rounding decides.
    std::uniform_int_distribution<Ticks> near(-2 * kTicksPerSecond, 2 * kTicksPerSecond);
    std::uniform_int_distribution<int> hour(0, 24);
    std::uniform_int_distribution<int> decimals(0, 3);
    int failures = 0;
    for (int i = 0; i < 15000 && failures < 20; ++i) {
        Ticks n = anywhere(random);
        if (i % 2) n = floor_div(n, kTicksPerDay) * kTicksPerDay + hour(random) * 3600 * kTicksPerSecond + near(random);
        n = n - (n % 4 + 4) % 4 + 1;  // quarter-milliseconds plus a quarter
        if (n < first || n >= last - kTicksPerDay) continue;
        const double value = static_cast<double>(n) / kTicksPerSecond;
        const int d = decimals(random);
        for (int width = 7; width <= 26; ++width) {
            const std::string dttm = text_of(zfmdttm, value, width, d);
            const std::string dtmm = text_of(zfmdtmm, value, width, d);
            int hour_at;
            const std::string want_dttm = expected_datetime(n, width, d, &hour_at);
            const std::string want_dtmm = expected_datetime_ampm(n, width, d);
            if (dttm != want_dttm || dtmm != want_dtmm) ++failures;
            EXPECT_EQ(dttm, want_dttm) << "CLKDT " << value << " w" << width << " d" << d;
            EXPECT_EQ(dtmm, want_dtmm) << "CLKDTAMPM " << value << " w" << width << " d" << d;
        }
        for (int width : {8, 16, 17, 18, 19, 24}) {
            const std::string dyam = text_of(zfmdyam, value, width, d);
            const std::string want = expected_date_ampm(n, width);
            if (dyam != want) ++failures;
            EXPECT_EQ(dyam, want) << "CLKDYAMPM " << value << " w" << width;
        }
    }
}

}  // namespace
}  // namespace classic_test
