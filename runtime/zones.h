// A time zone of an environment: an IANA zone of the system's tz database
// (its rules applied for every year, the rule that follows the last listed
// transition included), or a fixed offset from UTC. Offsets are whole
// minutes: a zone's offset with seconds (local mean time before standard
// time) is cut toward zero, so that the shift and the offset text name the
// same instant.
#pragma once

#include <absl/time/time.h>

#include <cstdint>
#include <string_view>

namespace isofmt::detail {

class Zone {
public:
    // "UTC", "GMT", "Z", "+05:30", "-0300", "+05", or an IANA name such as
    // "America/New_York"; throws std::runtime_error for anything else.
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
    bool fixed_zone_ = true;
    absl::TimeZone tz_;             // when not a fixed offset
    std::int64_t fixed_ = 0;        // seconds, whole minutes
};

}  // namespace isofmt::detail
