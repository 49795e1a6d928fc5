// The packed form of a datetime or duration: the entity record packed into
// 8 bytes, those bytes as hexadecimal text, and the meaning of the
// thousandths field as a change of the datetime value.
#include <cstring>

#include "duration/duration.h"
#include "duration/engine.h"
#include "binding/hostcall.h"

namespace {

// Byte 7 of the single-unit form is the unit code times 4 plus this.
constexpr unsigned kSingleUnitMark = 2;
constexpr std::int64_t kAbsentFraction = 0x3FF;

}  // namespace

std::uint64_t duration_form::single_unit_count(const Entity* e) {
    const int code = e->unit_code & ~component::kFractionalUnit;
    const int unit = component::of_unit_code(code);
    std::int64_t count = 0;
    if (unit > component::kYear) count = component::field(*e, unit);
    if (code == component::kWeeksCode) count /= 7;
    std::uint64_t c = static_cast<std::uint64_t>(count);
    if (!(e->unit_code & component::kFractionalUnit)) return c;
    std::uint64_t scaled;
    if (__builtin_mul_overflow(c, 1000u, &scaled) ||
        __builtin_add_overflow(scaled, static_cast<std::uint64_t>(e->thousandths), &scaled))
        return UINT64_MAX;
    return scaled;
}

namespace {

// The count is cut to its 32 bits; the reader refuses texts whose counts
// do not fit.
void pack_single_unit(Entity* e) {
    const auto count = static_cast<std::uint32_t>(duration_form::single_unit_count(e));
    std::uint8_t* p = e->packed;
    p[0] = 0;
    p[1] = e->negative ? 0x80 : 0x00;
    p[2] = 0;
    p[3] = static_cast<std::uint8_t>(count >> 24);
    p[4] = static_cast<std::uint8_t>(count >> 16);
    p[5] = static_cast<std::uint8_t>(count >> 8);
    p[6] = static_cast<std::uint8_t>(count);
    p[7] = static_cast<std::uint8_t>(e->unit_code * 4u + kSingleUnitMark);
}

std::uint8_t digit(std::int64_t v) { return static_cast<std::uint8_t>(v % 10); }

// The first byte of a negative duration: packed decimal (00..99) or FF, whose
// place in postxt picks the negative image in negtxt. A byte that is neither
// (only a negative year, which no caller stores, gives one) has no image and
// is left as it is, rather than read past the table.
std::uint8_t negative_image(std::uint8_t b) {
    if (b == 0xFF) return negtxt[100];
    if ((b >> 4) > 9 || (b & 0xF) > 9) return b;
    return negtxt[(b >> 4) * 10 + (b & 0xF)];
}

// Digit form: sixteen nibbles, F where a component is absent.
void pack_digits_nibbles(Entity* e) {
    std::uint8_t n[16];
    std::memset(n, 0xF, sizeof n);
    const std::uint8_t mask = e->missing;
    if (!(mask & missing_bit::kYear)) {
        std::int64_t y = e->year % 10000;
        n[0] = digit(y / 1000), n[1] = digit(y / 100), n[2] = digit(y / 10), n[3] = digit(y);
    }
    if (!(mask & missing_bit::kMonth)) n[4] = static_cast<std::uint8_t>(e->month & 0xF);
    // Day, hour, minute and second: two decimal digits each, from nibble 5 on.
    const std::int64_t pairs[4] = {e->day, e->hour, e->minute, e->second};
    for (int i = 0; i < 4; ++i)
        if (!(mask & component::kMissingBit[2 + i])) {
            n[5 + 2 * i] = digit(pairs[i] / 10);
            n[6 + 2 * i] = digit(pairs[i]);
        }
    std::int64_t t = (mask & missing_bit::kFraction) ? kAbsentFraction : (e->thousandths & kAbsentFraction);
    unsigned word = static_cast<unsigned>(t << 2 | (e->implied_anchor & 1) << 1 | (e->is_datetime & 1));
    n[13] = static_cast<std::uint8_t>(word >> 8 & 0xF);
    for (int i = 0; i < 7; ++i) e->packed[i] = static_cast<std::uint8_t>(n[2 * i] << 4 | n[2 * i + 1]);
    e->packed[7] = static_cast<std::uint8_t>(word);
    if (e->negative) e->packed[0] = negative_image(e->packed[0]);
}

// The same, in one word when every component present is a plain number of
// its digits (a year from 0, day to second 0..99).
void pack_digits(Entity* e) {
    using namespace component;
    const std::uint8_t mask = e->missing;
    const auto present = [mask](int c) { return !(mask & kMissingBit[c]); };
    bool plain = !present(kYear) || e->year >= 0;
    for (int c = kDay; c <= kSecond; ++c)
        plain = plain && (!present(c) || static_cast<std::uint64_t>(field(*e, c)) <= 99);
    if (!plain) {
        pack_digits_nibbles(e);
        return;
    }
    const auto two = [&](int c) { return present(c) ? digit_form::pair(static_cast<unsigned>(field(*e, c))) : 0xFFu; };
    const std::int64_t t = (mask & missing_bit::kFraction) ? kAbsentFraction : (e->thousandths & kAbsentFraction);
    std::uint64_t w = digit_form::word(
        present(kYear) ? digit_form::four(static_cast<unsigned>(e->year % 10000)) : 0xFFFFu,
        present(kMonth) ? static_cast<unsigned>(e->month & 0xF) : 0xFu, two(kDay), two(kHour), two(kMinute),
        two(kSecond), static_cast<unsigned>(t << 2 | (e->implied_anchor & 1) << 1 | (e->is_datetime & 1)));
    if (e->negative) w = digit_form::negated(w);
    digit_form::store(w, e->packed);
}

// Whole months in a fraction of a year, by its thousandths; 0 when the
// fraction is no whole number of months.
int months_in_year_fraction(std::int64_t thousandths) {
    struct Step {
        std::int16_t low, high;
    };
    static constexpr Step kMonths[12] = {{0, -1},    {83, 83},   {166, 167}, {250, 250},
                                         {333, 333}, {416, 417}, {500, 500}, {583, 583},
                                         {666, 667}, {750, 750}, {833, 833}, {916, 917}};
    for (int n = 1; n < 12; ++n)
        if (thousandths >= kMonths[n].low && thousandths <= kMonths[n].high) return n;
    return 0;
}

}  // namespace

std::uint64_t digit_form::negated(std::uint64_t w) {
    const std::uint64_t image = negative_image(static_cast<std::uint8_t>(w >> 56));
    return (w & ~(std::uint64_t{0xFF} << 56)) | image << 56;
}

void duration_form::pack_digits_general(Entity* e) { pack_digits_nibbles(e); }

extern "C" {

int convert_to_bcd(Entity* e) {
    if (e->missing == missing_bit::kAll)
        std::memset(e->packed, 0xFF, sizeof e->packed);
    else if (e->unit_code != 0)
        pack_single_unit(e);
    else
        pack_digits(e);
    return 0;
}

int hexify(const std::uint8_t* source, int count, char* target, int width) {
    return hostcall::wzfmhc(source, count, width, 1, target);
}

void add_fraction(Entity* e, int sign) {
    if (e->thousandths == 0) return;
    const double f = static_cast<double>(e->thousandths) / 1000.0;
    const int last = component::last_present(e->missing);
    if (last < 0) return;
    if (last >= 2) {
        e->value += sign * f * static_cast<double>(component::seconds_in_unit(*e, last));
        return;
    }
    // Month or year: move by that share of the calendar span from the value,
    // or, for a year fraction that is a whole number of months, by the span
    // of those months.
    std::int64_t months = 1;
    double scale = f;
    if (last == 0) {
        int whole = months_in_year_fraction(e->thousandths);
        months = whole ? whole : 12;
        scale = whole ? 1.0 : f;
    }
    double target = calendar::shift_months(e->value, sign * months);
    double span = target - e->value;
    if (span < 0) span = -span;
    e->value += sign * span * scale;
}

}  // extern "C"
