// Problem codes of the duration and interval routines and their messages.
// Header-only so that the reference host can print the same texts.
#pragma once

#include <cstdint>

inline constexpr const char* kProblemMessages[28] = {
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
    return code >= 1 && code <= 27 ? kProblemMessages[code] : kUnknownProblem;
}
