// The duration, datetime and interval informats: ISO 8601 text to packed
// hexadecimal digits (16 for a duration or datetime, 32 for an interval).
#include <algorithm>
#include <cstring>

#include "duration/duration.h"
#include "duration/engine.h"
#include "binding/hostcall.h"

namespace {

constexpr int kDurationDigits = 16;
constexpr int kIntervalDigits = 32;

enum Kind { kDuration = 0, kDatetime = 1 };

// A target without room for the digits is logged on every call.
bool room_for(const FormatBlock* block, const char* message, int digits) {
    if (block->capacity >= digits) return true;
    hostcall::xpslog(message, block->capacity);
    return false;
}

// The text an informat reads: min(width, input length) characters.
int text_length(const FormatBlock* block) {
    return block->value ? std::max(0, std::min(block->width, block->input_length)) : 0;
}

bool is_missing_notation(const char* text, int length, std::int32_t mode) {
    char scratch[16];
    return mode == parse_mode::kMissingNotation && hostcall::wzifmch(text, length, scratch) != 0;
}

std::int32_t read_packed_duration(FormatBlock* block, std::int32_t mode, Kind kind, const char* message) {
    if (!room_for(block, message, kDurationDigits)) return problem::kTargetTooShort;
    return get_bcd8(block, kind, mode);
}

}  // namespace

extern "C" {

std::int32_t is8601vli(FormatBlock* block, std::int32_t mode) {
    if (!room_for(block, "ERROR: Target location for $IS860VL has length %d but 32 is needed.", kIntervalDigits))
        return problem::kTargetTooShort;
    const char* text = static_cast<const char*>(block->value);
    const int length = text_length(block);
    Entity first, second;
    std::int32_t code = 0;
    if (is_missing_notation(text, length, mode)) {
        calendar::make_missing(&first);
        calendar::make_missing(&second);
    } else {
        code = derive_interval(text, length, &first, &second, mode);
    }
    block->output_length = std::min(block->capacity, kIntervalDigits);
    std::uint8_t packed[16];
    std::memcpy(packed, first.packed, 8);
    std::memcpy(packed + 8, second.packed, 8);
    hexify(packed, 16, block->output, block->output_length);
    return code;
}

std::int32_t is8601dui(FormatBlock* block, std::int32_t mode) {
    return read_packed_duration(block, mode, kDuration,
                                "ERROR: Target location for $IS860DU has length %d but 16 is needed.");
}

std::int32_t is8601pdi(FormatBlock* block, std::int32_t mode) {
    return read_packed_duration(block, mode, kDatetime,
                                "ERROR: Target location for $IS860PD has length %d but 16 is needed.");
}

}  // extern "C"
