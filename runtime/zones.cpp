// Time-zone services: offsets of an environment's zone, now or at an
// instant, and the ISO 8601 offset text.
#include "zones.h"

#include <absl/time/civil_time.h>
#include <absl/time/clock.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

#include "context.h"
#include "environment.h"
#include "isofmt/host.h"
#include "services.h"

namespace isofmt::detail {
namespace {

bool two_digits(std::string_view s, std::size_t at, int& out) {
    if (at + 2 > s.size()) return false;
    char a = s[at], b = s[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return false;
    out = (a - '0') * 10 + (b - '0');
    return true;
}

// "+hh", "+hhmm", "+hh:mm" (or "-"); false for anything else.
bool parse_fixed(std::string_view s, std::int64_t& out) {
    if (s.empty() || (s[0] != '+' && s[0] != '-')) return false;
    int h = 0, m = 0;
    if (!two_digits(s, 1, h)) return false;
    if (s.size() == 3) {
    } else if (s.size() == 5 && two_digits(s, 3, m)) {
    } else if (s.size() == 6 && s[3] == ':' && two_digits(s, 4, m)) {
    } else {
        return false;
    }
    if (h > 23 || m > 59) return false;
    out = (h * 3600 + m * 60) * (s[0] == '-' ? -1 : 1);
    return true;
}

// A zone name as the tz database spells them ("America/Argentina/Salta",
// "Etc/GMT-3"): parts of letters, digits, '_', '+' and '-' between single
// slashes. Keeps paths ("/etc/...", "../..") and other loader syntax out.
bool database_name(std::string_view s) {
    if (s.empty() || s.front() == '/' || s.back() == '/') return false;
    std::size_t part = 0;
    for (char c : s) {
        if (c == '/') {
            if (part == 0) return false;
            part = 0;
            continue;
        }
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '+' || c == '-';
        if (!ok) return false;
        ++part;
    }
    return true;
}

// Whole minutes, toward zero: -4:56:02 is -4:56 and +0:19:32 is +0:19.
std::int64_t whole_minutes(std::int64_t seconds) { return seconds - seconds % 60; }

// The table of a loaded zone's transitions before ZoneRules::kEnd.
std::shared_ptr<const ZoneRules> tabulate(const absl::TimeZone& tz) {
    auto rules = std::make_shared<ZoneRules>();
    rules->tz = tz;
    absl::Time t = absl::InfinitePast();
    absl::TimeZone::CivilTransition transition;
    std::vector<std::int64_t> raw;  // the offsets in seconds, before whole minutes
    while (tz.NextTransition(t, &transition)) {
        const absl::Time next = tz.At(transition.to).trans;
        const std::int64_t at = absl::ToUnixSeconds(next);
        if (next <= t || at >= ZoneRules::kEnd) break;
        rules->at.push_back(at);
        raw.push_back(tz.At(next).offset);
        rules->offset.push_back(static_cast<std::int32_t>(whole_minutes(raw.back())));
        t = next;
    }
    const absl::Time before = rules->at.empty() ? absl::UnixEpoch() : absl::FromUnixSeconds(rules->at.front() - 1);
    const std::int64_t first_raw = tz.At(before).offset;
    rules->first_offset = static_cast<std::int32_t>(whole_minutes(first_raw));
    rules->at_index.build(rules->at);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const std::int64_t previous = i == 0 ? first_raw : raw[i - 1];
        rules->wall.push_back(rules->at[i] + std::max(previous, raw[i]));
        if (i > 0 && rules->wall[i] <= rules->wall[i - 1]) {
            rules->wall.clear();
            break;
        }
    }
    rules->wall_index.build(rules->wall);
    return rules;
}

// Each zone is loaded and tabulated once per process and shared by every
// environment of that zone.
std::shared_ptr<const ZoneRules> load(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const ZoneRules>, std::less<>> loaded;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = loaded.find(name); it != loaded.end()) return it->second;
    absl::TimeZone tz;
    if (!absl::LoadTimeZone(name, &tz)) return nullptr;
    return loaded[name] = tabulate(tz);
}

}  // namespace

void ZoneRules::Index::build(const std::vector<std::int64_t>& table) {
    constexpr std::int64_t k1800 = -5364662400;  // 1800-01-01T00:00:00Z
    first.clear();
    base = table.empty() ? kEnd : std::max(table.front(), k1800);
    std::size_t i = 0;
    for (std::int64_t start = base; start < kEnd; start += std::int64_t{1} << kShift) {
        while (i < table.size() && table[i] <= start) ++i;
        first.push_back(static_cast<std::uint32_t>(i));
    }
}

std::size_t ZoneRules::Index::count(const std::vector<std::int64_t>& table, std::int64_t t) const {
    if (t < base) return static_cast<std::size_t>(std::upper_bound(table.begin(), table.end(), t) - table.begin());
    std::size_t n = first[static_cast<std::size_t>((t - base) >> kShift)];
    while (n < table.size() && table[n] <= t) ++n;
    return n;
}

std::int64_t ZoneRules::offset_at(std::int64_t unix_seconds) const {
    if (unix_seconds >= kEnd) return whole_minutes(tz.At(absl::FromUnixSeconds(unix_seconds)).offset);
    const std::size_t after = at_index.count(at, unix_seconds);
    return after == 0 ? first_offset : offset[after - 1];
}

std::int64_t ZoneRules::offset_at_local(std::int64_t local_seconds) const {
    // Near kEnd a transition beyond the table may already have begun on the
    // wall clock (offsets are within a day and a few hours).
    if (local_seconds < kEnd - 2 * 86400 && (!wall.empty() || at.empty())) {
        const std::size_t after = wall_index.count(wall, local_seconds);
        return after == 0 ? first_offset : offset[after - 1];
    }
    // For an ambiguous or a nonexistent local time `pre` is the instant that
    // the offset in force before the transition gives.
    const absl::CivilSecond reading = absl::CivilSecond(1970, 1, 1) + local_seconds;
    const absl::TimeZone::TimeInfo info = tz.At(reading);
    return whole_minutes(local_seconds - absl::ToUnixSeconds(info.pre));
}

Zone Zone::parse(std::string_view name) {
    Zone z;
    if (name == "UTC" || name == "GMT" || name == "Z") return z;
    if (parse_fixed(name, z.fixed_)) return z;
    if (database_name(name)) z.rules_ = load(std::string(name));
    if (!z.rules_) throw Error("unknown time zone: " + std::string(name));
    return z;
}

std::int64_t Zone::offset_at_universal(std::int64_t unix_seconds) const {
    return rules_ ? rules_->offset_at(unix_seconds) : fixed_;
}

std::int64_t Zone::offset_at_local(std::int64_t local_seconds) const {
    return rules_ ? rules_->offset_at_local(local_seconds) : fixed_;
}

std::int64_t Zone::offset_now() const {
    return offset_at_universal(absl::ToUnixSeconds(absl::Now()));
}

}  // namespace isofmt::detail

namespace isofmt::service {
namespace {

using detail::Zone;

// Host datetimes count seconds from 1960-01-01T00:00:00.
constexpr double kEpoch1960 = -315619200.0;  // 1960-01-01 in Unix seconds
// Beyond about year +-30000 the calendar has no zone rules to offer.
constexpr double kSpan = 9.0e11;

const Zone* zone_of(Environment* environment) {
    const detail::HostEnvironment* e = detail::host_environment(environment);
    return e ? &e->data->zone : nullptr;
}

// A host datetime as Unix seconds, held within the calendar's reach; a
// missing datetime is taken as now.
std::int64_t unix_seconds(double datetime) {
    if (datetime != datetime) {
        return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()).time_since_epoch().count();
    }
    double t = std::floor(datetime) + kEpoch1960;
    t = t < -kSpan ? -kSpan : t > kSpan ? kSpan : t;
    return static_cast<std::int64_t>(t);
}

}  // namespace

double xkgtzoff(Environment* environment) {
    const Zone* z = zone_of(environment);
    return z ? static_cast<double>(z->offset_now()) : 0.0;
}

double xkgtzof4(Environment* environment, std::int32_t universal, double datetime) {
    const Zone* z = zone_of(environment);
    if (!z) return 0.0;
    const std::int64_t t = unix_seconds(datetime);
    return static_cast<double>(universal ? z->offset_at_universal(t) : z->offset_at_local(t));
}

std::int32_t xkgtzstr(char* area, std::int32_t room, std::int32_t* length, double offset) {
    std::int32_t n = 0;
    if (offset == offset && std::fabs(offset) < 100.0 * 3600) {
        const int s = static_cast<int>(offset);  // toward zero; seconds are dropped
        const int a = s < 0 ? -s : s, h = a / 3600, m = a % 3600 / 60;
        // "+hh:mm", "+hhmm", or "+hh" when there are no minutes to lose:
        // the longest that fits.
        if (room >= 6 || room == 5 || (room >= 3 && m == 0)) {
            area[0] = s < 0 ? '-' : '+';
            area[1] = static_cast<char>('0' + h / 10);
            area[2] = static_cast<char>('0' + h % 10);
            n = 3;
            if (room >= 5) {
                if (room >= 6) area[n++] = ':';
                area[n++] = static_cast<char>('0' + m / 10);
                area[n++] = static_cast<char>('0' + m % 10);
            }
        }
    }
    if (length) *length = n;
    return 0;
}

std::int32_t wzdtgmt(double* offset) {
    detail::Context* c = detail::current_context();
    double seconds = 0.0;
    if (c && c->default_environment) seconds = xkgtzoff(&c->default_environment->base);
    if (offset) *offset = seconds;
    return 0;
}

}  // namespace isofmt::service
