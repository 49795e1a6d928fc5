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

    // How many of an ascending table's entries are at or before a time:
    // from `base` (the first entry, or 1800 if that is later) to kEnd, per
    // span of 2^kShift seconds the count at the span's start, from which a
    // look-up steps over the few entries within the span; before `base`, a
    // binary search.
    struct Index {
        static constexpr int kShift = 22;  // about 48 days
        std::int64_t base = kEnd;
        std::vector<std::uint32_t> first;

        void build(const std::vector<std::int64_t>& table);
        std::size_t count(const std::vector<std::int64_t>& table, std::int64_t t) const;
    };

    absl::TimeZone tz;
    std::vector<std::int64_t> at;      // transition instants, ascending
    std::vector<std::int32_t> offset;  // whole-minute offset from at[i] on
    std::int32_t first_offset = 0;     // before at[0] (or everywhere: no transitions)
    Index at_index;

    // For local times: the first wall-clock reading from which transition i's
    // offset is the only reading, at[i] plus the larger of the offsets
    // before and after it (in whole seconds). Before that the offset before
    // the transition holds, through the gap or the repeated hour. Empty when
    // these readings do not ascend (the library answers then).
    std::vector<std::int64_t> wall;
    Index wall_index;

    std::int64_t offset_at(std::int64_t unix_seconds) const;
    std::int64_t offset_at_local(std::int64_t local_seconds) const;
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
