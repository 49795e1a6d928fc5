// ISO 8601 date, time and datetime literals, extended (2020-01-15T10:30:00)
// or basic (20200115T103000), with an optional zone designator, read into
// the clock reading they show and the offset they name.
#include <date/date.h>

#include <charconv>
#include <cmath>

#include "isofmt/host.h"

namespace isofmt {
namespace {

constexpr int kUnixDay1960 = -3653;
constexpr double kDay = 86400.0;

// A cursor over the literal's text.
class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    bool at_end() const { return at_ == s_.size(); }
    std::size_t position() const { return at_; }
    char peek(std::size_t ahead = 0) const { return at_ + ahead < s_.size() ? s_[at_ + ahead] : '\0'; }

    bool skip(char c) {
        if (peek() != c) return false;
        ++at_;
        return true;
    }
    // Either case: ISO 8601 allows t and z by agreement, and they cost nothing.
    bool skip_letter(char upper) { return skip(upper) || skip(static_cast<char>(upper - 'A' + 'a')); }

    // Exactly n digits.
    bool digits(int n, int& out) {
        if (at_ + n > s_.size()) return false;
        out = 0;
        for (int i = 0; i < n; ++i) {
            const char c = s_[at_ + i];
            if (c < '0' || c > '9') return false;
            out = out * 10 + (c - '0');
        }
        at_ += n;
        return true;
    }

    // A decimal fraction after '.' or ',' (at least one digit), as a value below 1.
    bool fraction(double& out) {
        out = 0;
        if (peek() != '.' && peek() != ',') return true;
        std::string number = "0.";
        ++at_;
        while (peek() >= '0' && peek() <= '9') number += s_[at_++];
        if (number.size() == 2) return false;
        std::from_chars(number.data(), number.data() + number.size(), out);
        return true;
    }

private:
    std::string_view s_;
    std::size_t at_ = 0;
};

// yyyy-mm-dd (extended) or yyyymmdd (basic) of a day that exists, as a day number.
bool read_date(Reader& r, bool extended, double& days) {
    int y, m, d;
    if (!r.digits(4, y) || (extended && !r.skip('-')) || !r.digits(2, m) || (extended && !r.skip('-')) ||
        !r.digits(2, d))
        return false;
    const date::year_month_day ymd{date::year{y}, date::month{static_cast<unsigned>(m)},
                                   date::day{static_cast<unsigned>(d)}};
    if (!ymd.ok()) return false;
    days = date::sys_days(ymd).time_since_epoch().count() - kUnixDay1960;
    return true;
}

// hh:mm[:ss[.f]] (extended) or hhmm[ss[.f]] (basic), as seconds since midnight.
bool read_time(Reader& r, bool extended, double& seconds) {
    int h, m, s = 0;
    double f = 0;
    if (!r.digits(2, h) || (extended && !r.skip(':')) || !r.digits(2, m) || h > 23 || m > 59) return false;
    const bool with_seconds = extended ? r.skip(':') : (r.peek() >= '0' && r.peek() <= '9');
    if (with_seconds && (!r.digits(2, s) || s > 59 || !r.fraction(f))) return false;
    seconds = h * 3600.0 + m * 60.0 + s + f;
    return true;
}

// Z, or +hh, +hhmm, +hh:mm (or -), as seconds east of UTC. False when
// there is something else; `zoned` tells whether there was a designator.
bool read_zone(Reader& r, bool& zoned, int& offset) {
    zoned = false;
    offset = 0;
    if (r.at_end()) return true;
    zoned = true;
    if (r.skip_letter('Z')) return r.at_end();
    const int sign = r.skip('-') ? -1 : r.skip('+') ? 1 : 0;
    int h, m = 0;
    if (sign == 0 || !r.digits(2, h)) return false;
    if (!r.at_end()) {
        r.skip(':');
        if (!r.digits(2, m)) return false;
    }
    if (h > 23 || m > 59) return false;
    offset = sign * (h * 3600 + m * 60);
    return r.at_end();
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double Literal::universal() const {
    if (kind == Kind::date || offset == 0) return clock;
    if (kind == Kind::datetime) return clock - offset;
    double t = std::fmod(clock - offset, kDay);  // a time of day wraps around midnight
    return t < 0 ? t + kDay : t;
}

std::optional<Literal> read_literal(std::string_view text) {
    Reader r(text);
    Literal lit;
    bool extended = true;
    if (r.skip_letter('T')) {  // T10:30, T1030
        lit.kind = Literal::Kind::time;
        extended = r.peek(2) == ':';
        if (!read_time(r, extended, lit.clock)) return std::nullopt;
    } else if (r.peek(2) == ':') {  // 10:30
        lit.kind = Literal::Kind::time;
        if (!read_time(r, true, lit.clock)) return std::nullopt;
    } else if (r.peek(4) == '-') {  // 2020-01-15[T10:30:00]
        if (!read_date(r, true, lit.clock)) return std::nullopt;
        lit.kind = Literal::Kind::date;
        if (r.at_end()) return lit;
    } else if (is_digit(r.peek(7)) && (r.peek(8) == 'T' || r.peek(8) == 't')) {  // 20200115T103000
        if (!read_date(r, false, lit.clock)) return std::nullopt;
        extended = false;
    } else {  // 103000Z, 1030+01: a basic time needs its designator
        lit.kind = Literal::Kind::time;
        if (!read_time(r, false, lit.clock) || r.at_end()) return std::nullopt;
    }
    if (lit.kind == Literal::Kind::date) {
        double seconds;
        if (!r.skip_letter('T') || !read_time(r, extended, seconds)) return std::nullopt;
        lit.kind = Literal::Kind::datetime;
        lit.clock = lit.clock * kDay + seconds;
    }
    if (!read_zone(r, lit.zoned, lit.offset)) return std::nullopt;
    return lit;
}

std::optional<double> Host::parse_literal(std::string_view text) const {
    std::optional<Literal> lit = read_literal(text);
    if (!lit) return std::nullopt;
    return lit->universal();
}

}  // namespace isofmt
