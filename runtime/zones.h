// A time zone of an environment: an IANA zone of the system's tz database,
// located once, or a fixed offset from UTC.
#pragma once

#include <date/date.h>

#include <chrono>
#include <string_view>

namespace date {
class time_zone;
}

namespace isofmt::detail {

class Zone {
public:
    // "UTC", "GMT", "Z", "+05:30", "-0300", "+05", or an IANA name such as
    // "America/New_York"; throws std::runtime_error for anything else.
    static Zone parse(std::string_view name);

    // Offset from UTC (local minus UTC) at an instant given in UTC.
    std::chrono::seconds offset_at_universal(std::chrono::sys_seconds t) const;
    // Offset in force at a local wall-clock time. An ambiguous local time
    // (clocks set back) takes the earlier offset; a local time that does
    // not exist (clocks set forward) takes the offset before the gap.
    std::chrono::seconds offset_at_local(date::local_seconds t) const;
    std::chrono::seconds offset_now() const;

private:
    const date::time_zone* tz_ = nullptr;  // null: a fixed offset
    std::chrono::seconds fixed_{0};
};

}  // namespace isofmt::detail
