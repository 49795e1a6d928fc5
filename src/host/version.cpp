// The version stamp: 26 pointer-sized words that the host copies out with
// rqbldtg1. Its texts are opaque to the module.
#include <cstdint>
#include <cstring>

#include "host/module.h"

namespace {

constexpr int two_digits(const char* s) { return (s[0] == ' ' ? 0 : s[0] - '0') * 10 + (s[1] - '0'); }

constexpr int month_of(const char* date) {
    constexpr const char* names = "JanFebMarAprMayJunJulAugSepOctNovDec";
    for (int m = 0; m < 12; ++m)
        if (names[3 * m] == date[0] && names[3 * m + 1] == date[1] && names[3 * m + 2] == date[2]) return m + 1;
    return 1;
}

// Seconds since 1970-01-01 of the compiler's __DATE__ and __TIME__.
constexpr std::int64_t build_time() {
    constexpr const char* date = __DATE__;  // "Mmm dd yyyy"
    constexpr const char* time = __TIME__;  // "hh:mm:ss"
    std::int64_t y = two_digits(date + 7) * 100 + two_digits(date + 9);
    const int m = month_of(date);
    const int d = two_digits(date + 4);
    y -= m <= 2;  // days from civil, proleptic Gregorian
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = era * 146097 + doe - 719468;
    return days * 86400 + two_digits(time) * 3600 + two_digits(time + 3) * 60 + two_digits(time + 6);
}

constexpr char kRelease[] = "isofmt 1.0.0";
constexpr char kLocation[] = "isofmt/src";
constexpr char kEmpty[] = "";
constexpr char kBase[] = "base";
constexpr char kScrambledA[] = "\x1b\x3a\x0d\x5e";
constexpr char kScrambledB[] = "\x27\x11\x6c\x02";
constexpr char kVersion[] = "version";
constexpr char kColons[] = "::";
constexpr char kHotfix[] = "ZUQ_VERSION_HOTFIX_NUMBER=                                       ";
constexpr char kScrambledC[] = "\x4e\x08\x33\x19\x61";
constexpr char kDescription[] = "BLDTAG_IMAGE_DESCRIPTION=                                        ";
constexpr char kShort[] = "1.00";
static_assert(sizeof(kHotfix) - 1 == 65 && sizeof(kDescription) - 1 == 65);

const std::uintptr_t kStamp[kVersionStampWords] = {
    reinterpret_cast<std::uintptr_t>(kRelease),     reinterpret_cast<std::uintptr_t>(kLocation),
    reinterpret_cast<std::uintptr_t>(kEmpty),       static_cast<std::uintptr_t>(build_time()),
    reinterpret_cast<std::uintptr_t>(kBase),        reinterpret_cast<std::uintptr_t>(kScrambledA),
    reinterpret_cast<std::uintptr_t>(kBase),        reinterpret_cast<std::uintptr_t>(kScrambledB),
    reinterpret_cast<std::uintptr_t>(kEmpty),       reinterpret_cast<std::uintptr_t>(kVersion),
    reinterpret_cast<std::uintptr_t>(kColons),      reinterpret_cast<std::uintptr_t>(kEmpty),
    reinterpret_cast<std::uintptr_t>(kHotfix),      reinterpret_cast<std::uintptr_t>(kScrambledC),
    reinterpret_cast<std::uintptr_t>(kDescription), reinterpret_cast<std::uintptr_t>(kShort),
};
static_assert(sizeof(kStamp) == 208);

}  // namespace

void rqbldtg1(void* destination) { std::memcpy(destination, kStamp, sizeof(kStamp)); }
