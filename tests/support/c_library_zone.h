// The C library's reading of a zone (localtime_r with TZ set): the
// independent check of the host's zone rules. Tests only.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace testing_support {

// Sets TZ for its lifetime, then puts the previous setting back.
class CLibraryZone {
public:
    explicit CLibraryZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~CLibraryZone() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    CLibraryZone(const CLibraryZone&) = delete;
    CLibraryZone& operator=(const CLibraryZone&) = delete;

    // Local time and offset (seconds east of UTC) at an instant in Unix seconds.
    std::tm local(std::int64_t unix_seconds) const {
        const std::time_t t = static_cast<std::time_t>(unix_seconds);
        std::tm tm{};
        localtime_r(&t, &tm);
        return tm;
    }

private:
    std::optional<std::string> previous_;
};

// Host datetimes count seconds from 1960-01-01T00:00:00.
inline constexpr std::int64_t kUnix1960 = -315619200;

inline std::int64_t unix_of(int y, int m, int d, int hh) {
    std::tm tm{};
    tm.tm_year = y - 1900, tm.tm_mon = m - 1, tm.tm_mday = d, tm.tm_hour = hh;
    return static_cast<std::int64_t>(timegm(&tm));
}

}  // namespace testing_support
