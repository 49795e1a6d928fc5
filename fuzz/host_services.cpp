// Compares the host's numeric text and calendar services with what they
// stand in for: zfmt's common-case path with its general routine (text,
// output length, status, nothing written past the width), the calendar's
// dates and day numbers with the date library's, the day number of any
// month, day and year with a plain whole-number check and the date
// library's count, the splits of a datetime with the remainders std::fmod
// gives, and the hexadecimal digits of bytes with a digit-by-digit writer.
// Values are raw bits or near the rounding edges of the decimals asked for.
#include <date/date.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "services.h"
#include "support/split_reference.h"

namespace {

using fuzz_support::Guarded;
using fuzz_support::Input;
namespace service = isofmt::service;

double take_value(Input& in) {
    const fuzz_support::Draw d = fuzz_support::draw(in);
    if (d.raw()) return d.value();
    const std::uint8_t kind = d.kind;
    const std::uint64_t bits = d.bits;
    // Near a half of the last decimal: n + 0.5 units of 10^-k, moved by a few ulps.
    const int k = (kind >> 1) % 11;
    const double units = static_cast<double>(bits >> (24 + (kind >> 5))) + 0.5;
    double v = units / std::pow(10.0, k);
    for (int step = static_cast<std::int8_t>(bits & 0xFF) % 4; step != 0; step += step > 0 ? -1 : 1)
        v = std::nextafter(v, step > 0 ? INFINITY : -INFINITY);
    return (bits >> 8 & 1) ? -v : v;
}

void compare_zfmt(double value, int width, int decimals) {
    Guarded fast(width, '#'), general(width, '#');
    FormatBlock a{}, b{};
    a.width = b.width = width;
    a.decimals = b.decimals = decimals;
    a.value = b.value = &value;
    a.output = fast.data();
    b.output = general.data();
    a.output_length = b.output_length = -99;
    const std::int32_t sa = service::zfmt(&a), sb = service::zfmt_general(&b);
    fast.check();
    general.check();
    if (sa != sb || a.output_length != b.output_length) std::abort();
    if (width > 0 && std::memcmp(fast.data(), general.data(), static_cast<std::size_t>(width)) != 0) std::abort();
}

using split_reference::bits;

void compare_calendar(double x) {
    // The day and time of day, hours, minutes and seconds against std::fmod.
    const split_reference::Split split = split_reference::split(x);
    if (bits(service::zdatprt(x)) != bits(split.day) || bits(service::ztimprt(x)) != bits(split.time) ||
        bits(service::zhour(x)) != bits(split.hour) || bits(service::zminute(x)) != bits(split.minute) ||
        bits(service::zsecond(x)) != bits(split.second))
        std::abort();
    // The date of the day number x / 86400 (as days) against the date library.
    const double date = x / 86400;
    double y, m, d;
    const std::int32_t rc = service::zymdjul(&y, &m, &d, service::zjuldat(date));
    const double whole = std::floor(date);
    constexpr double kFirst = -12683776, kLast = 11252390;  // -32767-01-01 and 32767-12-31
    if (!(whole >= kFirst && whole <= kLast)) {
        if (rc == 0 || !std::isnan(y) || !std::isnan(m) || !std::isnan(d)) std::abort();
        return;
    }
    const date::year_month_day want{date::sys_days(date::days(static_cast<int>(whole) - 3653))};
    if (rc != 0 || y != static_cast<int>(want.year()) || m != static_cast<unsigned>(want.month()) ||
        d != static_cast<unsigned>(want.day()) || service::zmdy(m, d, y) != whole)
        std::abort();
}

// A month, day or year: raw bits, or a small whole number (around the
// bounds of each) moved by a few ulps or made negative zero.
double take_part(Input& in, int around) {
    const std::uint8_t kind = in.take<std::uint8_t>();
    if (kind & 1) return std::bit_cast<double>(in.take<std::uint64_t>());
    double v = around + static_cast<std::int16_t>(in.take<std::uint16_t>()) % 40;
    if (kind & 2) v = static_cast<double>(static_cast<std::int16_t>(in.take<std::uint16_t>()));
    for (int step = static_cast<std::int8_t>(kind) >> 4; step != 0; step += step > 0 ? -1 : 1)
        v = std::nextafter(v, step > 0 ? INFINITY : -INFINITY);
    return (kind & 4) && v == 0 ? -0.0 : v;
}

void compare_day_number(double month, double day, double year) {
    const auto whole = [](double x) { return std::floor(x) == x; };
    double want = NAN;
    if (whole(month) && whole(day) && whole(year) && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
        year >= -32767 && year <= 32767) {
        const date::year_month_day ymd{date::year{static_cast<int>(year)}, date::month{static_cast<unsigned>(month)},
                                       date::day{static_cast<unsigned>(day)}};
        if (ymd.ok()) want = date::sys_days(ymd).time_since_epoch().count() + 3653;
    }
    if (bits(service::zmdy(month, day, year)) != bits(want)) std::abort();
}

void compare_hex(Input& in) {
    std::uint8_t bytes[40];
    for (std::uint8_t& b : bytes) b = in.take<std::uint8_t>();
    const int count = in.take<std::uint8_t>() % 41 - 1, width = in.take<std::uint8_t>() % 86 - 2;
    constexpr char kHex[] = "0123456789ABCDEF";
    char want[84];
    std::memset(want, '#', sizeof want);
    for (int i = 0; i < count; ++i) {
        if (2 * i < width) want[2 * i] = kHex[bytes[i] >> 4];
        if (2 * i + 1 < width) want[2 * i + 1] = kHex[bytes[i] & 15];
    }
    Guarded out(width, '#');  // nothing written past the width
    service::wzfmhc(bytes, count, width, 1, out.data());
    out.check();
    if (width > 0 && std::memcmp(out.data(), want, static_cast<std::size_t>(width)) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static isofmt::Host& host = fuzz_support::bind_host();
    (void)host;
    Input in{data, size};
    const double value = take_value(in);
    const int width = in.take<std::uint8_t>() % 40 - 1;
    const int decimals = in.take<std::int8_t>() % 14;
    compare_zfmt(value, width, decimals);
    compare_calendar(value * 1e4);
    compare_calendar(value);
    const double month = take_part(in, -10), day = take_part(in, -10), year = take_part(in, -32780);
    compare_day_number(month, day, year);
    compare_day_number(month, day, std::fmod(std::trunc(value), 3000.0));  // a whole year, or NaN
    compare_hex(in);
    return 0;
}
