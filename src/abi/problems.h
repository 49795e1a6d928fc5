// Problem codes of the duration and interval routines and their messages.
// Header-only so that the reference host can print the same texts.
#pragma once

#include <cstdint>

// The codes, named for what went wrong; 0 is no problem.
namespace problem {
inline constexpr int kNone = 0;
inline constexpr int kTooManyDigits = 1;
inline constexpr int kNoNumber = 2;
inline constexpr int kNoYear = 3;
inline constexpr int kUnitInDatetime = 4;   // also: a packed value that does not decode
inline constexpr int kNoUnit = 5;
inline constexpr int kOutOfOrder = 6;
inline constexpr int kOutOfRange = 7;
inline constexpr int kInvalidDatetime = 8;
inline constexpr int kBadOffset = 9;
inline constexpr int kExtraCharacters = 10;
inline constexpr int kAllBlank = 11;
inline constexpr int kBadDelimiter = 12;
inline constexpr int kBlankInterval = 13;
inline constexpr int kTwoDurations = 14;
inline constexpr int kStartAfterEnd = 15;
inline constexpr int kLoneDatetime = 16;
inline constexpr int kStrictDigits = 17;
inline constexpr int kStrictDelimiters = 18;
inline constexpr int kNoLeadingP = 19;
inline constexpr int kTwoFractions = 20;
inline constexpr int kNoTimeMark = 21;
inline constexpr int kTargetTooShort = 22;
inline constexpr int kEndsAtTimeMark = 23;
inline constexpr int kEntityTooShort = 24;
inline constexpr int kEntityLength = 25;
inline constexpr int kEntityNotHex = 26;
inline constexpr int kNoRoom = 27;
inline constexpr int kCount = 27;
}  // namespace problem

inline constexpr const char* kProblemMessages[problem::kCount + 1] = {
    "",
    "too many digits with no delimiters",
    "number not found where expected",
    "4-digit year not seen where expected",
    "YMDHMSW chars seen in datetime spec",
    "YMDHMSW chars not seen where expected",
    "YMDHMSW chars seen out of order",
    "an element was out of range",
    "invalid datetime value",
    "invalid GMT offset",
    "extra chars after specification",
    "all blank",
    "not expected delimiter",
    "interval is blank",
    "interval has 2 durations",
    "start datetime > end datetime in intvl",
    "interval has 1 component - datetime",
    "ISO strict - must be right number of digs",
    "ISO strict - delimiters expected",
    "Leading character P expected",
    "multiple fractions encountered",
    "T missing before H or S component",
    "informat target not 32 (intvl) or 16",
    "T found before day component",
    "Entity less than length 16",
    "Entity must have 16 or 32 hex digits",
    "Entity contains non-hex digits",
    "Insufficient room to format the result",
};

inline constexpr const char* kUnknownProblem = "Unknown reason";

inline const char* problem_text(std::int32_t code) {
    return code >= 1 && code <= problem::kCount ? kProblemMessages[code] : kUnknownProblem;
}
