// Host values of ISO 8601 literals: a date (days), a time of day (seconds)
// or a datetime (seconds since 1960-01-01T00:00:00 UTC).
#include <date/date.h>

#include <charconv>

#include "isofmt/host.h"

namespace isofmt {
namespace {

constexpr int kUnixDay1960 = -3653;

// Reads exactly n digits at s[at].
bool digits(std::string_view s, std::size_t& at, int n, int& out) {
    if (at + n > s.size()) return false;
    out = 0;
    for (int i = 0; i < n; ++i) {
        char c = s[at + i];
        if (c < '0' || c > '9') return false;
        out = out * 10 + (c - '0');
    }
    at += n;
    return true;
}

bool skip(std::string_view s, std::size_t& at, char c) {
    if (at < s.size() && s[at] == c) return ++at, true;
    return false;
}

// yyyy-mm-dd of an existing day, as a day number.
bool read_date(std::string_view s, std::size_t& at, double& days) {
    int y, m, d;
    if (!digits(s, at, 4, y) || !skip(s, at, '-') || !digits(s, at, 2, m) || !skip(s, at, '-') ||
        !digits(s, at, 2, d)) {
        return false;
    }
    date::year_month_day ymd{date::year{y}, date::month{static_cast<unsigned>(m)},
                             date::day{static_cast<unsigned>(d)}};
    if (!ymd.ok()) return false;
    days = date::sys_days(ymd).time_since_epoch().count() - kUnixDay1960;
    return true;
}

// hh:mm[:ss[.fff...]] as seconds.
bool read_time(std::string_view s, std::size_t& at, double& seconds) {
    int h, m;
    if (!digits(s, at, 2, h) || !skip(s, at, ':') || !digits(s, at, 2, m) || h > 23 || m > 59) return false;
    double sec = 0;
    if (skip(s, at, ':')) {
        std::size_t start = at;
        int whole;
        if (!digits(s, at, 2, whole) || whole > 59) return false;
        if (skip(s, at, '.')) {
            std::size_t before = at;
            while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
            if (at == before) return false;
        }
        std::from_chars(s.data() + start, s.data() + at, sec);
    }
    seconds = h * 3600.0 + m * 60.0 + sec;
    return true;
}

// Z, +hh:mm, +hhmm or +hh (or -) as seconds east of UTC.
bool read_offset(std::string_view s, std::size_t& at, double& offset) {
    if (skip(s, at, 'Z')) return offset = 0, true;
    if (at >= s.size() || (s[at] != '+' && s[at] != '-')) return false;
    int sign = s[at++] == '-' ? -1 : 1, h, m = 0;
    if (!digits(s, at, 2, h)) return false;
    if (at < s.size()) {
        skip(s, at, ':');
        if (!digits(s, at, 2, m)) return false;
    }
    if (h > 23 || m > 59) return false;
    offset = sign * (h * 3600.0 + m * 60.0);
    return true;
}

}  // namespace

std::optional<double> Host::parse_literal(std::string_view text) const {
    std::size_t at = 0;
    double days = 0, seconds = 0, offset = 0;
    if (text.size() > 2 && text[2] == ':') {
        if (read_time(text, at, seconds) && at == text.size()) return seconds;
        return std::nullopt;
    }
    if (!read_date(text, at, days)) return std::nullopt;
    if (at == text.size()) return days;
    if (!skip(text, at, 'T') || !read_time(text, at, seconds)) return std::nullopt;
    if (at < text.size() && (!read_offset(text, at, offset) || at != text.size())) return std::nullopt;
    return days * 86400.0 + seconds - offset;
}

}  // namespace isofmt
