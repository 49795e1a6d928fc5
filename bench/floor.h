// The floor: hand-written minimal routines writing the same text as a
// family on the common case (a present value in range, the full width),
// from days to year-month-day, a two-digit table and straight stores. They
// say what the text costs at least; nothing else uses them.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace floor_routines {

inline constexpr std::int64_t kDaysTo1970 = 3653;  // 1960-01-01 to 1970-01-01

struct Civil {
    int year;
    unsigned month, day;
};

// Days since 1970-01-01 to the proleptic Gregorian date (eras of 400 years).
inline Civil civil(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

inline const char* two_digits(unsigned v) {
    static constexpr char kTable[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    return kTable + 2 * v;
}

inline char* put2(char* p, unsigned v) {
    std::memcpy(p, two_digits(v), 2);
    return p + 2;
}

inline char* put4(char* p, unsigned v) {
    put2(p, v / 100);
    return put2(p + 2, v % 100);
}

// A host datetime split into days since 1970 and the time of day in units
// of 10^-decimals seconds, rounded within the day (a time that would round
// to midnight stays on the last unit of the day).
struct Split {
    std::int64_t days;
    std::int64_t units;
};

inline Split split(double x, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1000};
    const double day = std::floor(x / 86400);
    const double per_day = 86400 * kScale[decimals];
    std::int64_t u = static_cast<std::int64_t>(std::floor((x - day * 86400) * kScale[decimals] + 0.5));
    if (u >= static_cast<std::int64_t>(per_day)) u = static_cast<std::int64_t>(per_day) - 1;
    return {static_cast<std::int64_t>(day) - kDaysTo1970, u};
}

inline char* ymd(char* p, const Civil& c, bool dashes) {
    p = put4(p, static_cast<unsigned>(c.year));
    if (dashes) *p++ = '-';
    p = put2(p, c.month);
    if (dashes) *p++ = '-';
    return put2(p, c.day);
}

inline char* hms(char* p, unsigned seconds, bool colons) {
    p = put2(p, seconds / 3600);
    if (colons) *p++ = ':';
    p = put2(p, seconds / 60 % 60);
    if (colons) *p++ = ':';
    return put2(p, seconds % 60);
}

// yyyy-mm-dd from a host date (days since 1960).
inline int date(double days, char* out) {
    const Civil c = civil(static_cast<std::int64_t>(std::floor(days)) - kDaysTo1970);
    return static_cast<int>(ymd(out, c, true) - out);
}

// yyyy-mm-ddThh:mm:ss[.fff][+00:00], or the basic form yyyymmddThhmmss[+0000].
inline int datetime(double x, char* out, int decimals, bool basic, bool zone) {
    const Split s = split(x, decimals);
    static constexpr unsigned kScale[] = {1, 10, 100, 1000};
    const unsigned seconds = static_cast<unsigned>(s.units / kScale[decimals]);
    char* p = ymd(out, civil(s.days), !basic);
    *p++ = 'T';
    p = hms(p, seconds, !basic);
    if (decimals == 3) {
        const unsigned f = static_cast<unsigned>(s.units % 1000);
        *p++ = '.';
        *p++ = static_cast<char>('0' + f / 100);
        p = put2(p, f % 100);
    }
    if (zone) {
        std::memcpy(p, basic ? "+0000" : "+00:00", basic ? 5 : 6);
        p += basic ? 5 : 6;
    }
    return static_cast<int>(p - out);
}

// ddMONyyyy:hh:mm:ss, rounding to the whole second across midnight.
inline int clock_datetime(double x, char* out) {
    static constexpr char kMonths[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    const double r = std::floor(x + 0.5);
    const double day = std::floor(r / 86400);
    const Civil c = civil(static_cast<std::int64_t>(day) - kDaysTo1970);
    char* p = put2(out, c.day);
    std::memcpy(p, kMonths + 3 * (c.month - 1), 3);
    p = put4(p + 3, static_cast<unsigned>(c.year));
    *p++ = ':';
    p = hms(p, static_cast<unsigned>(r - day * 86400), true);
    return static_cast<int>(p - out);
}

// yyyy-mm-ddThh:mm:ss read into the packed datetime: the digits, the month
// as one hexadecimal digit, no fraction and no zone. Returns 16 or 0.
inline int read_datetime(const char* t, int n, char* out) {
    if (n != 19 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':') return 0;
    static constexpr int kDigits[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
    for (int i : kDigits)
        if (static_cast<unsigned>(t[i] - '0') > 9) return 0;
    const int month = (t[5] - '0') * 10 + (t[6] - '0');
    if (month < 1 || month > 12) return 0;
    std::memcpy(out, t, 4);
    out[4] = "0123456789ABC"[month];
    std::memcpy(out + 5, t + 8, 2);
    std::memcpy(out + 7, t + 11, 2);
    std::memcpy(out + 9, t + 14, 2);
    std::memcpy(out + 11, t + 17, 2);
    std::memcpy(out + 13, "FFD", 3);
    return 16;
}

// PnYnMnDTnHnMnS read into the packed duration (years as four digits, the
// month as one hexadecimal digit, two digits for the rest). Returns 16 or 0.
inline int read_duration(const char* t, int n, char* out) {
    static constexpr char kUnits[] = "YMDHMS";
    static constexpr int kDigits[] = {4, 1, 2, 2, 2, 2};
    static constexpr unsigned kMax[] = {9999, 15, 99, 99, 99, 99};
    const char* end = t + n;
    if (t == end || *t++ != 'P') return 0;
    char* p = out;
    for (int u = 0; u < 6; ++u) {
        if (u == 3 && (t == end || *t++ != 'T')) return 0;
        unsigned v = 0;
        const char* start = t;
        while (t < end && static_cast<unsigned>(*t - '0') <= 9 && t - start < 4) v = v * 10 + (*t++ - '0');
        if (t == start || t == end || *t++ != kUnits[u] || v > kMax[u]) return 0;
        for (int i = kDigits[u] - 1; i >= 0; --i, v /= (u == 1 ? 16 : 10))
            p[i] = "0123456789ABCDEF"[v % (u == 1 ? 16 : 10)];
        p += kDigits[u];
    }
    if (t != end) return 0;
    std::memcpy(p, "FFC", 3);
    return 16;
}

}  // namespace floor_routines
