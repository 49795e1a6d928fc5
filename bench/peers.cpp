// The peers: the C library (strftime, strptime + timegm, sscanf/snprintf),
// {fmt} chrono, Howard Hinnant's date, Abseil's time library and the floor,
// each writing the text of a family the way a caller of that library would.
#include "peers.h"

#include <absl/time/time.h>
#include <date/date.h>
#include <date/tz.h>
#include <fmt/chrono.h>
#include <fmt/format.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>

#include "floor.h"

namespace peers {
namespace {

namespace fr = floor_routines;
using std::chrono::milliseconds;
using std::chrono::seconds;

// Seconds from 1960-01-01 (the host's origin) back to 1970-01-01's.
constexpr double kUnixEpoch = 315619200;

// A host datetime as Unix time: whole seconds rounded to the nearest, or
// milliseconds.
std::time_t unix_seconds(double x) { return static_cast<std::time_t>(std::floor(x - kUnixEpoch + 0.5)); }
std::int64_t unix_millis(double x) { return std::llround((x - kUnixEpoch) * 1000); }
std::int64_t floor_div(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0); }
std::time_t date_seconds(double days) { return static_cast<std::time_t>((std::floor(days) - fr::kDaysTo1970) * 86400); }

int copy(const std::string& s, char* out) {
    std::memcpy(out, s.data(), s.size());
    return static_cast<int>(s.size());
}

void upcase_month(char* p) {
    for (int i = 0; i < 3; ++i) p[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(p[i])));
}

// A 12-hour text whose hour came padded (01:05:07 PM, or a blank before
// it), as the 12-hour clock shows it (1:05:07 PM).
int drop_hour_pad(char* out, int n) {
    if (n > 0 && (out[0] == '0' || out[0] == ' ')) {
        std::memmove(out, out + 1, static_cast<std::size_t>(n - 1));
        return n - 1;
    }
    return n;
}

// ---- the C library

std::tm utc(std::time_t t) {
    std::tm tm;
    gmtime_r(&t, &tm);
    return tm;
}

int c_date(const Input& in, char* out) {
    const std::tm tm = utc(date_seconds(in.value));
    return static_cast<int>(std::strftime(out, 128, "%Y-%m-%d", &tm));
}

template <int Decimals, bool Basic, bool Zone>
int c_datetime(const Input& in, char* out) {
    std::int64_t ms = unix_millis(in.value);
    const std::tm tm = utc(Decimals ? floor_div(ms, 1000) : unix_seconds(in.value));
    int n = static_cast<int>(std::strftime(out, 128, Basic ? "%Y%m%dT%H%M%S" : "%Y-%m-%dT%H:%M:%S", &tm));
    if (Decimals) n += std::snprintf(out + n, 128 - n, ".%03d", static_cast<int>(ms - floor_div(ms, 1000) * 1000));
    if (Zone) n += std::snprintf(out + n, 128 - n, Basic ? "+0000" : "+00:00");
    return n;
}

int c_clock(const Input& in, char* out) {
    const std::tm tm = utc(unix_seconds(in.value));
    const int n = static_cast<int>(std::strftime(out, 128, "%d%b%Y:%H:%M:%S", &tm));
    upcase_month(out + 2);
    return n;
}

// The 12-hour clock as strftime writes it: %l pads the hour with a blank.
int c_clock_ampm(const Input& in, char* out) {
    const std::tm tm = utc(unix_seconds(in.value));
    const int n = static_cast<int>(std::strftime(out, 128, "%d%b%Y:%I:%M:%S %p", &tm));
    upcase_month(out + 2);
    return n;
}

int c_time_of_day(const Input& in, char* out) {
    const std::int64_t ms = unix_millis(in.value);
    const std::tm tm = utc(floor_div(ms, 1000));
    const int n = static_cast<int>(std::strftime(out, 128, "%H:%M:%S", &tm));
    return n + std::snprintf(out + n, 128 - n, ".%03d", static_cast<int>(ms - floor_div(ms, 1000) * 1000));
}

int c_time_ampm(const Input& in, char* out) {
    const std::tm tm = utc(unix_seconds(in.value));
    return drop_hour_pad(out, static_cast<int>(std::strftime(out, 128, "%l:%M:%S %p", &tm)));
}

int c_date_ampm(const Input& in, char* out) {
    const std::tm tm = utc(unix_seconds(in.value));
    return static_cast<int>(std::strftime(out, 128, "%-m/%-d/%Y %l:%M %p", &tm));
}

// Elapsed times: hours with two decimals, minutes and seconds to the
// millisecond, hours and minutes.
int c_elapsed_hours(const Input& in, char* out) { return std::snprintf(out, 128, "%.2f", in.value / 3600); }

int c_elapsed_minutes(const Input& in, char* out) {
    const long long ms = std::llround(in.value * 1000);
    return std::snprintf(out, 128, "%lld:%02lld.%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
}

int c_elapsed_hours_minutes(const Input& in, char* out) {
    const long long minutes = std::llround(in.value / 60);
    return std::snprintf(out, 128, "%lld:%02lld", minutes / 60, minutes % 60);
}

// What a reader hands back, written as the packed datetime the informat makes.
int packed_datetime(const std::tm& tm, char* out) {
    char* p = fr::put4(out, static_cast<unsigned>(tm.tm_year + 1900));
    *p++ = "0123456789ABC"[tm.tm_mon + 1];
    p = fr::put2(p, static_cast<unsigned>(tm.tm_mday));
    p = fr::put2(p, static_cast<unsigned>(tm.tm_hour));
    p = fr::put2(p, static_cast<unsigned>(tm.tm_min));
    p = fr::put2(p, static_cast<unsigned>(tm.tm_sec));
    std::memcpy(p, "FFD", 3);
    return 16;
}

int packed_duration(const int (&f)[6], char* out) {
    char* p = fr::put4(out, static_cast<unsigned>(f[0]));
    *p++ = "0123456789ABCDEF"[f[1] & 15];
    for (int i = 2; i < 6; ++i) p = fr::put2(p, static_cast<unsigned>(f[i]));
    std::memcpy(p, "FFC", 3);
    return 16;
}

int c_read_datetime(const Input& in, char* out) {
    std::tm tm{};
    const char* end = strptime(in.text.c_str(), "%Y-%m-%dT%H:%M:%S", &tm);
    if (end == nullptr || *end != '\0') return 0;
    const std::time_t t = timegm(&tm);
    return packed_datetime(utc(t), out);
}

int c_scan_datetime(const Input& in, char* out) {
    std::tm tm{};
    int used = 0;
    if (std::sscanf(in.text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour,
                    &tm.tm_min, &tm.tm_sec, &used) != 6 || in.text[used] != '\0')
        return 0;
    tm.tm_year -= 1900, tm.tm_mon -= 1;
    return packed_datetime(tm, out);
}

int c_scan_duration(const Input& in, char* out) {
    int f[6], used = 0;
    if (std::sscanf(in.text.c_str(), "P%dY%dM%dDT%dH%dM%dS%n", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &used) != 6 ||
        in.text[used] != '\0')
        return 0;
    return packed_duration(f, out);
}

int c_scan_interval(const Input& in, char* out) {
    std::tm tm{};
    int f[6], used = 0;
    if (std::sscanf(in.text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d/P%dY%dM%dDT%dH%dM%dS%n", &tm.tm_year, &tm.tm_mon,
                    &tm.tm_mday, &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5],
                    &used) != 12 || in.text[used] != '\0')
        return 0;
    tm.tm_year -= 1900, tm.tm_mon -= 1;
    packed_datetime(tm, out);
    return 16 + packed_duration(f, out + 16);
}

// The packed duration's digits read back and printed with designators.
bool unpack_duration(const char* p, int (&f)[6]) {
    static constexpr int kDigits[] = {4, 1, 2, 2, 2, 2};
    for (int u = 0; u < 6; ++u) {
        int v = 0;
        for (int i = 0; i < kDigits[u]; ++i, ++p) {
            const int d = *p <= '9' ? *p - '0' : *p - 'A' + 10;
            if (d < 0 || d > 15) return false;
            v = v * (u == 1 ? 16 : 10) + d;
        }
        f[u] = v;
    }
    return true;
}

int c_print_duration(const Input& in, char* out) {
    int f[6];
    if (!unpack_duration(in.text.data(), f)) return 0;
    return std::snprintf(out, 128, "P%dY%dM%dDT%dH%dM%dS", f[0], f[1], f[2], f[3], f[4], f[5]);
}

int c_print_interval(const Input& in, char* out) {
    const char* p = in.text.data();
    int f[6];
    if (!unpack_duration(p + 16, f)) return 0;
    const int month = p[4] <= '9' ? p[4] - '0' : p[4] - 'A' + 10;
    return std::snprintf(out, 128, "%.4s-%02d-%.2sT%.2s:%.2s:%.2s/P%dY%dM%dDT%dH%dM%dS", p, month, p + 5, p + 7,
                         p + 9, p + 11, f[0], f[1], f[2], f[3], f[4], f[5]);
}

// ---- {fmt} chrono

template <class... Args>
int fmt_to(char* out, fmt::format_string<Args...> f, Args&&... args) {
    return static_cast<int>(fmt::format_to_n(out, 128, f, std::forward<Args>(args)...).size);
}

int fmt_date(const Input& in, char* out) { return fmt_to(out, "{:%Y-%m-%d}", utc(date_seconds(in.value))); }

template <int Decimals, bool Basic, bool Zone>
int fmt_datetime(const Input& in, char* out) {
    const std::int64_t ms = unix_millis(in.value);
    const std::int64_t s = Decimals ? floor_div(ms, 1000) : unix_seconds(in.value);
    const std::tm t = utc(s);  // (its time_point formatter works in local time)
    const char* zone = Zone ? (Basic ? "+0000" : "+00:00") : "";
    if (Decimals) return fmt_to(out, "{:%Y-%m-%dT%H:%M:%S}.{:03}{}", t, ms - s * 1000, zone);
    if (Basic) return fmt_to(out, "{:%Y%m%dT%H%M%S}{}", t, zone);
    return fmt_to(out, "{:%Y-%m-%dT%H:%M:%S}", t);
}

int fmt_clock(const Input& in, char* out) {
    const int n = fmt_to(out, "{:%d%b%Y:%H:%M:%S}", utc(unix_seconds(in.value)));
    upcase_month(out + 2);
    return n;
}

int fmt_clock_ampm(const Input& in, char* out) {
    const int n = fmt_to(out, "{:%d%b%Y:%I:%M:%S %p}", utc(unix_seconds(in.value)));
    upcase_month(out + 2);
    return n;
}

int fmt_time_of_day(const Input& in, char* out) {
    const std::int64_t ms = unix_millis(in.value);
    const std::int64_t s = floor_div(ms, 1000);
    return fmt_to(out, "{:%H:%M:%S}.{:03}", utc(s), ms - s * 1000);
}

int fmt_time_ampm(const Input& in, char* out) {
    return drop_hour_pad(out, fmt_to(out, "{:%I:%M:%S %p}", utc(unix_seconds(in.value))));
}

int fmt_date_ampm(const Input& in, char* out) {
    const std::tm t = utc(unix_seconds(in.value));
    const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    return fmt_to(out, "{}/{}/{} {:2}:{:%M %p}", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, hour, t);
}

int fmt_elapsed_hours(const Input& in, char* out) { return fmt_to(out, "{:.2f}", in.value / 3600); }

int fmt_elapsed_minutes(const Input& in, char* out) {
    const long long ms = std::llround(in.value * 1000);
    return fmt_to(out, "{}:{:02}.{:03}", ms / 60000, ms / 1000 % 60, ms % 1000);
}

int fmt_elapsed_hours_minutes(const Input& in, char* out) {
    const long long minutes = std::llround(in.value / 60);
    return fmt_to(out, "{}:{:02}", minutes / 60, minutes % 60);
}

int fmt_duration(const Input& in, char* out) {
    int f[6];
    if (!unpack_duration(in.text.data(), f)) return 0;
    return fmt_to(out, "P{}Y{}M{}DT{}H{}M{}S", f[0], f[1], f[2], f[3], f[4], f[5]);
}

// ---- Howard Hinnant's date

template <class Time>
int date_format(const char* layout, const Time& t, char* out) {
    return copy(date::format(layout, t), out);
}

int date_date(const Input& in, char* out) {
    return date_format("%F", date::sys_days{date::days(static_cast<int>(std::floor(in.value) - fr::kDaysTo1970))}, out);
}

template <int Decimals, bool Basic, bool Zone>
int date_datetime(const Input& in, char* out) {
    const char* layout = Basic ? (Zone ? "%Y%m%dT%H%M%S%z" : "%Y%m%dT%H%M%S") : (Zone ? "%FT%T%Ez" : "%FT%T");
    if (Decimals) return date_format(layout, date::sys_time<milliseconds>{milliseconds(unix_millis(in.value))}, out);
    return date_format(layout, date::sys_seconds{seconds(unix_seconds(in.value))}, out);
}

int date_new_york(const Input& in, char* out) {
    static const date::time_zone* zone = date::locate_zone("America/New_York");
    return date_format("%FT%T%Ez", date::make_zoned(zone, date::sys_time<milliseconds>{milliseconds(unix_millis(in.value))}),
                       out);
}

int date_clock(const Input& in, char* out) {
    const int n = date_format("%d%b%Y:%H:%M:%S", date::sys_seconds{seconds(unix_seconds(in.value))}, out);
    upcase_month(out + 2);
    return n;
}

int date_clock_ampm(const Input& in, char* out) {
    const int n = date_format("%d%b%Y:%I:%M:%S %p", date::sys_seconds{seconds(unix_seconds(in.value))}, out);
    upcase_month(out + 2);
    return n;
}

int date_time_of_day(const Input& in, char* out) {
    const std::int64_t ms = unix_millis(in.value);
    return date_format("%T", date::sys_time<milliseconds>{milliseconds(ms)}, out);
}

int date_time_ampm(const Input& in, char* out) {
    return drop_hour_pad(out, date_format("%I:%M:%S %p", date::sys_seconds{seconds(unix_seconds(in.value))}, out));
}

int date_read_datetime(const Input& in, char* out) {
    std::istringstream s(in.text);
    date::sys_seconds t{};
    s >> date::parse("%Y-%m-%dT%H:%M:%S", t);
    if (s.fail()) return 0;
    return packed_datetime(utc(t.time_since_epoch().count()), out);
}

// ---- Abseil

absl::Time absl_seconds(double x) { return absl::FromUnixSeconds(unix_seconds(x)); }
absl::Time absl_millis(double x) { return absl::FromUnixMillis(unix_millis(x)); }

int absl_date(const Input& in, char* out) {
    return copy(absl::FormatTime("%Y-%m-%d", absl::FromUnixSeconds(date_seconds(in.value)), absl::UTCTimeZone()), out);
}

template <int Decimals, bool Basic, bool Zone>
int absl_datetime(const Input& in, char* out) {
    const char* layout = Basic ? (Zone ? "%Y%m%dT%H%M%S%z" : "%Y%m%dT%H%M%S")
                               : Decimals ? (Zone ? "%Y-%m-%dT%H:%M:%E3S%Ez" : "%Y-%m-%dT%H:%M:%E3S")
                                          : (Zone ? "%Y-%m-%dT%H:%M:%S%Ez" : "%Y-%m-%dT%H:%M:%S");
    return copy(absl::FormatTime(layout, Decimals ? absl_millis(in.value) : absl_seconds(in.value), absl::UTCTimeZone()),
                out);
}

int absl_new_york(const Input& in, char* out) {
    static const absl::TimeZone zone = [] {
        absl::TimeZone z;
        if (!absl::LoadTimeZone("America/New_York", &z)) std::abort();
        return z;
    }();
    return copy(absl::FormatTime("%Y-%m-%dT%H:%M:%E3S%Ez", absl_millis(in.value), zone), out);
}

int absl_clock(const Input& in, char* out) {
    const int n = copy(absl::FormatTime("%d%b%Y:%H:%M:%S", absl_seconds(in.value), absl::UTCTimeZone()), out);
    upcase_month(out + 2);
    return n;
}

int absl_clock_ampm(const Input& in, char* out) {
    const int n = copy(absl::FormatTime("%d%b%Y:%I:%M:%S %p", absl_seconds(in.value), absl::UTCTimeZone()), out);
    upcase_month(out + 2);
    return n;
}

int absl_time_of_day(const Input& in, char* out) {
    return copy(absl::FormatTime("%H:%M:%E3S", absl_millis(in.value), absl::UTCTimeZone()), out);
}

int absl_time_ampm(const Input& in, char* out) {
    return drop_hour_pad(out, copy(absl::FormatTime("%I:%M:%S %p", absl_seconds(in.value), absl::UTCTimeZone()), out));
}

int absl_read_datetime(const Input& in, char* out) {
    absl::Time t;
    std::string error;
    if (!absl::ParseTime("%Y-%m-%dT%H:%M:%S", in.text, absl::UTCTimeZone(), &t, &error)) return 0;
    return packed_datetime(utc(absl::ToUnixSeconds(t)), out);
}

// ---- the floor

int floor_date(const Input& in, char* out) { return fr::date(in.value, out); }
template <int Decimals, bool Basic, bool Zone>
int floor_datetime(const Input& in, char* out) { return fr::datetime(in.value, out, Decimals, Basic, Zone); }
int floor_clock(const Input& in, char* out) { return fr::clock_datetime(in.value, out); }
int floor_read_datetime(const Input& in, char* out) {
    return fr::read_datetime(in.text.data(), static_cast<int>(in.text.size()), out);
}
int floor_read_duration(const Input& in, char* out) {
    return fr::read_duration(in.text.data(), static_cast<int>(in.text.size()), out);
}

// ---- the inputs: 1024 of each, from one seed

std::uint64_t next(std::uint64_t& state) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return state >> 11;
}

// Datetimes spread over 1900 to 2100 with millisecond fractions.
const std::vector<Input>& datetimes() {
    static const std::vector<Input> v = [] {
        std::vector<Input> r(1024);
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (Input& in : r) {
            const double span = 200.0 * 365.2425 * 86400;
            const double x = -60.0 * 365.2425 * 86400 + static_cast<double>(next(state)) / 9007199254740992.0 * span;
            in.value = std::floor(x * 1000) / 1000;
        }
        return r;
    }();
    return v;
}

const std::vector<Input>& dates() {
    static const std::vector<Input> v = [] {
        std::vector<Input> r = datetimes();
        for (Input& in : r) in.value = std::floor(in.value / 86400);
        return r;
    }();
    return v;
}

// Elapsed times up to 100 hours with millisecond fractions.
const std::vector<Input>& elapsed() {
    static const std::vector<Input> v = [] {
        std::vector<Input> r = datetimes();
        for (Input& in : r) in.value = std::floor((in.value - std::floor(in.value / 360000) * 360000) * 1000) / 1000;
        return r;
    }();
    return v;
}

// The datetimes as yyyy-mm-ddThh:mm:ss texts.
const std::vector<Input>& datetime_texts() {
    static const std::vector<Input> v = [] {
        std::vector<Input> r = datetimes();
        char text[32];
        for (Input& in : r) in.text.assign(text, static_cast<std::size_t>(fr::datetime(in.value, text, 0, false, false)));
        return r;
    }();
    return v;
}

// Durations with every unit present: PnYnMnDTnHnMnS.
const std::vector<Input>& duration_texts() {
    static const std::vector<Input> v = [] {
        std::vector<Input> r(1024);
        std::uint64_t state = 0x2545F4914F6CDD1Dull;
        static constexpr int kBound[] = {99, 11, 30, 23, 59, 59};
        for (Input& in : r) {
            int f[6];
            for (int i = 0; i < 6; ++i) f[i] = 1 + static_cast<int>(next(state) % static_cast<unsigned>(kBound[i]));
            char text[64];
            in.text.assign(text, static_cast<std::size_t>(std::snprintf(text, sizeof text, "P%dY%dM%dDT%dH%dM%dS", f[0],
                                                                        f[1], f[2], f[3], f[4], f[5])));
        }
        return r;
    }();
    return v;
}

// A datetime and a duration: the interval's text.
const std::vector<Input>& interval_texts() {
    static const std::vector<Input> v = [] {
        std::vector<Input> r(1024);
        for (std::size_t i = 0; i < r.size(); ++i) r[i].text = datetime_texts()[i].text + "/" + duration_texts()[i].text;
        return r;
    }();
    return v;
}

// The packed forms the informats make of the texts (by the floor, whose
// reading is checked against isofmt's).
const std::vector<Input>& packed(const std::vector<Input>& texts, Routine read, int size) {
    auto* r = new std::vector<Input>(texts);
    for (Input& in : *r) {
        char out[32];
        read(in, out);
        in.text.assign(out, static_cast<std::size_t>(size));
    }
    return *r;
}

int floor_read_interval(const Input& in, char* out) {
    const std::size_t slash = in.text.find('/');
    const std::string start = in.text.substr(0, slash), length = in.text.substr(slash + 1);
    return fr::read_datetime(start.data(), static_cast<int>(start.size()), out) +
           fr::read_duration(length.data(), static_cast<int>(length.size()), out + 16);
}

}  // namespace

const std::vector<Family>& families() {
    static const std::vector<Family> f = [] {
        const auto* packed_durations = &packed(duration_texts(), floor_read_duration, 16);
        const auto* packed_intervals = &packed(interval_texts(), floor_read_interval, 32);
        using P = std::vector<Peer>;
        return std::vector<Family>{
            {"E8601DA", "E8601DA", false, 10, 0, false, 0, 0, &dates(),
             P{{"strftime", c_date}, {"{fmt}", fmt_date}, {"date", date_date}, {"Abseil", absl_date},
               {"floor", floor_date}}},
            {"E8601DT19", "E8601DT", false, 19, 0, false, 0, 0, &datetimes(),
             P{{"strftime", c_datetime<0, false, false>}, {"{fmt}", fmt_datetime<0, false, false>},
               {"date", date_datetime<0, false, false>}, {"Abseil", absl_datetime<0, false, false>},
               {"floor", floor_datetime<0, false, false>}}},
            {"E8601DT23.3", "E8601DT", false, 23, 3, false, 0, 0, &datetimes(),
             P{{"strftime", c_datetime<3, false, false>}, {"{fmt}", fmt_datetime<3, false, false>},
               {"date", date_datetime<3, false, false>}, {"Abseil", absl_datetime<3, false, false>},
               {"floor", floor_datetime<3, false, false>}}},
            {"E8601DZ29.3", "E8601DZ", false, 29, 3, false, 0, 0, &datetimes(),
             P{{"strftime", c_datetime<3, false, true>}, {"{fmt}", fmt_datetime<3, false, true>},
               {"date", date_datetime<3, false, true>}, {"Abseil", absl_datetime<3, false, true>},
               {"floor", floor_datetime<3, false, true>}}},
            {"B8601DZ26", "B8601DZ", false, 26, 0, false, 0, 0, &datetimes(),
             P{{"strftime", c_datetime<0, true, true>}, {"{fmt}", fmt_datetime<0, true, true>},
               {"date", date_datetime<0, true, true>}, {"Abseil", absl_datetime<0, true, true>},
               {"floor", floor_datetime<0, true, true>}}},
            {"E8601DX29.3 New York", "E8601DX", false, 29, 3, true, 0, 0, &datetimes(),
             P{{"date", date_new_york}, {"Abseil", absl_new_york}}},
            {"CLKDT19", "CLKDT", false, 19, 0, false, 0, 0, &datetimes(),
             P{{"strftime", c_clock}, {"{fmt}", fmt_clock}, {"date", date_clock}, {"Abseil", absl_clock},
               {"floor", floor_clock}}},
            {"CLKDTAMPM22", "CLKDTAMPM", false, 22, 0, false, 0, 0, &datetimes(),
             P{{"strftime", c_clock_ampm}, {"{fmt}", fmt_clock_ampm}, {"date", date_clock_ampm},
               {"Abseil", absl_clock_ampm}}},
            {"CLKTOD12.3", "CLKTOD", false, 12, 3, false, 0, 0, &datetimes(),
             P{{"strftime", c_time_of_day}, {"{fmt}", fmt_time_of_day}, {"date", date_time_of_day},
               {"Abseil", absl_time_of_day}}},
            {"CLKTAMPM11", "CLKTAMPM", false, 11, 0, false, 0, 0, &datetimes(),
             P{{"strftime", c_time_ampm}, {"{fmt}", fmt_time_ampm}, {"date", date_time_ampm},
               {"Abseil", absl_time_ampm}}},
            {"CLKDYAMPM19", "CLKDYAMPM", false, 19, 0, false, 0, 0, &datetimes(),
             P{{"strftime", c_date_ampm}, {"{fmt}", fmt_date_ampm}}},
            {"CLKHOUR6.2", "CLKHOUR", false, 6, 2, false, 0, 0, &elapsed(),
             P{{"snprintf", c_elapsed_hours}, {"{fmt}", fmt_elapsed_hours}}},
            {"CLKMMSS11.3", "CLKMMSS", false, 11, 3, false, 0, 0, &elapsed(),
             P{{"snprintf", c_elapsed_minutes}, {"{fmt}", fmt_elapsed_minutes}}},
            {"CLKHHMM6", "CLKHHMM", false, 6, 0, false, 0, 0, &elapsed(),
             P{{"snprintf", c_elapsed_hours_minutes}, {"{fmt}", fmt_elapsed_hours_minutes}}},
            {"IS860PD read", "IS860PD", true, 19, 0, false, 0, 0, &datetime_texts(),
             P{{"strptime+timegm", c_read_datetime}, {"sscanf", c_scan_datetime}, {"date", date_read_datetime},
               {"Abseil", absl_read_datetime}, {"floor", floor_read_datetime}}},
            {"IS860DU read", "IS860DU", true, 30, 0, false, 0, 0, &duration_texts(),
             P{{"sscanf", c_scan_duration}, {"floor", floor_read_duration}}},
            {"IS860VL read", "IS860VL", true, 60, 0, false, 0, 0, &interval_texts(),
             P{{"sscanf", c_scan_interval}, {"floor", floor_read_interval}}},
            {"IS860DU", "IS860DU", false, 24, 0, false, 0x0001, 0, packed_durations,
             P{{"snprintf", c_print_duration}, {"{fmt}", fmt_duration}}},
            {"IS860VL", "IS860VL", false, 50, 0, false, 0x0001, 0x0004, packed_intervals,
             P{{"snprintf", c_print_interval}}},
        };
    }();
    return f;
}

}  // namespace peers
