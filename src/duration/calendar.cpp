// Calendar helpers of the duration engine: splitting host dates, month
// lengths, moving by months, datetime records from host values.
#include "duration/engine.h"

#include <cmath>
#include <cstring>

#include "duration/duration.h"
#include "binding/hostcall.h"

namespace calendar {

namespace {

constexpr int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Far beyond any year the host's calendar covers; keeps conversions of host
// doubles to integers defined.
constexpr double kLargestYear = 1e9;

bool leap_year(std::int64_t y) {
    if (y % 4000 == 0) return false;
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

double missing_value() {
    double d;
    std::memcpy(&d, &kMissingNanBits, sizeof d);
    return d;
}

bool split_day(double day, Ymd* out) {
    if (missing(day)) return false;
    double y = 0, m = 0, d = 0;
    hostcall::zymdjul(&y, &m, &d, hostcall::zjuldat(day));
    if (!(std::fabs(y) <= kLargestYear && m >= 1 && m <= 12 && d >= 1 && d <= 31)) return false;
    *out = {static_cast<std::int64_t>(y), static_cast<std::int64_t>(m), static_cast<std::int64_t>(d)};
    return true;
}

std::int64_t last_day(std::int64_t month, std::int64_t year) {
    std::int64_t m = month % 12;
    if (m < 0) m += 12;
    if (m == 0) return 31;
    if (m == 2) return leap_year(year) ? 29 : 28;
    return kDaysInMonth[m];
}

double shift_months(double datetime, std::int64_t months) {
    if (missing(datetime)) return missing_value();
    double date = hostcall::zdatprt(datetime);
    Ymd ymd;
    if (!split_day(date, &ymd)) return missing_value();
    double time_of_day = datetime - date * kSecondsPerDay;
    std::int64_t m0 = ymd.month - 1 + months;
    std::int64_t year = ymd.year + floor_div(m0, 12);
    std::int64_t month = m0 - floor_div(m0, 12) * 12 + 1;
    std::int64_t day = ymd.day;
    std::int64_t last = last_day(month, year);
    if (day > last) day = last;
    double target = hostcall::zmdy(static_cast<double>(month), static_cast<double>(day), static_cast<double>(year));
    if (missing(target)) return missing_value();
    return target * kSecondsPerDay + time_of_day;
}

void make_missing(Entity* e) {
    std::memset(e, 0, sizeof *e);
    e->missing = missing_bit::kAll;
    std::memset(e->packed, 0xFF, sizeof e->packed);
}

bool split_datetime(Entity* e, double datetime) {
    make_missing(e);
    e->is_datetime = 1;
    e->value = missing_value();
    if (missing(datetime)) return false;
    // Round to the thousandth, so that a value built from whole thousandths
    // reads back as those thousandths.
    double date = hostcall::zdatprt(datetime);
    double ms = std::nearbyint((datetime - date * kSecondsPerDay) * 1000.0);
    if (ms >= kSecondsPerDay * 1000.0) ms -= kSecondsPerDay * 1000.0, date += 1;
    if (ms < 0) ms = 0;
    Ymd ymd;
    if (!split_day(date, &ymd)) return false;
    std::int64_t t = static_cast<std::int64_t>(ms);
    e->value = datetime;
    e->year = ymd.year, e->month = ymd.month, e->day = ymd.day;
    e->hour = t / 3600000, e->minute = t / 60000 % 60, e->second = t / 1000 % 60;
    e->thousandths = t % 1000;
    e->missing = e->thousandths ? 0 : missing_bit::kFraction;
    return true;
}

void set_datetime(Entity* e, double datetime) {
    if (!split_datetime(e, datetime) || e->year < 0 || e->year > 9999) {
        make_missing(e);
        e->is_datetime = 1;
        e->value = missing_value();
        return;
    }
    convert_to_bcd(e);
}

}  // namespace calendar

int component::last_present(std::uint8_t mask) {
    for (int c = 5; c >= 0; --c)
        if (!(mask & kMissingBit[c])) return c;
    return -1;
}
