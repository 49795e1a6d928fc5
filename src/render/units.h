// The clock's units, for every routine that splits or builds a time of day.
#pragma once

#include <cstdint>

inline constexpr double kSecondsPerMinute = 60;
inline constexpr double kSecondsPerHour = 60 * kSecondsPerMinute;  // 3600
inline constexpr double kSecondsPerDay = 24 * kSecondsPerHour;     // 86400
inline constexpr std::int64_t kMsPerDay = 1000 * static_cast<std::int64_t>(kSecondsPerDay);
