// A time zone of an environment: an IANA zone of the system's tz database
// (its rules applied for every year, the rule that follows the last listed
// transition included), or a fixed offset from UTC. Offsets are whole
// minutes: a zone's offset with seconds (local mean time before standard
// time) is cut toward zero, so that the shift and the offset text name the
// same instant.
#pragma once

#include <absl/time/time.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace isofmt::detail {

// A zone of the tz database as loaded once per process: the library's zone,
// and its transitions up to kEnd (Unix seconds) as a table that instants
// before kEnd are looked up in; later ones ask the library.
struct ZoneRules {
    static constexpr std::int64_t kEnd = 7258118400;  // 2200-01-01T00:00:00Z

    absl::TimeZone tz;
    std::vector<std::int64_t> at;      // transition instants, ascending
    std::vector<std::int32_t> offset;  // whole-minute offset from at[i] on
    std::int32_t first_offset = 0;     // before at[0] (or everywhere: no transitions)

    std::int64_t offset_at(std::int64_t unix_seconds) const;
};

class Zone {
public:
    // "UTC", "GMT", "Z", "+05:30", "-0300", "+05", or an IANA name such as
    // "America/New_York"; throws isofmt::Error for anything else.
    static Zone parse(std::string_view name);

    // Offset in seconds (local minus UTC) at an instant in Unix seconds.
    std::int64_t offset_at_universal(std::int64_t unix_seconds) const;
    // Offset in force at a local wall-clock time, given as Unix seconds of
    // that wall-clock reading. An ambiguous local time (clocks set back)
    // takes the earlier offset; a local time that does not exist (clocks set
    // forward) takes the offset before the gap.
    std::int64_t offset_at_local(std::int64_t local_seconds) const;
    std::int64_t offset_now() const;

private:
    std::shared_ptr<const ZoneRules> rules_;  // null: a fixed offset
    std::int64_t fixed_ = 0;                  // seconds, whole minutes
};

}  // namespace isofmt::detail
