// Duration and interval engine and the exported duration and interval
// informats and formats.
#pragma once

#include <array>
#include <cstdint>

#include "duration/entity.h"
#include "abi/call_block.h"

extern const std::array<std::uint8_t, 101> postxt;  // packed-decimal bytes 0x00..0x99, then 0xFF
extern const std::array<std::uint8_t, 101> negtxt;  // their negative images, then 0xFE
extern const std::array<std::uint8_t, 7> poss;       // single-unit codes: 1, 2, 3, 4, 8, 16, 32

extern "C" {
// Packed encoding
int convert_to_bcd(Entity* e);
int hexify(const std::uint8_t* source, int count, char* target, int width);
void add_fraction(Entity* e, int sign);
// Parser
int read_date_or_duration(const char* text, int length, Entity* e, int mode, int in_interval);
int get_bcd8(FormatBlock* block, int kind, int mode);
// The reader without its shortcut for the common forms: the tests compare the two.
int read_date_or_duration_general(const char* text, int length, Entity* e, int mode, int in_interval);
// Interval derivation
int derive_interval(const char* text, int length, Entity* first, Entity* second, int mode);
int compute_duration(const Entity* start, const Entity* end, Entity* out);
double get_lastday(int month, int year);
int compute_end(const Entity* start, Entity* duration, Entity* out);
int compute_start(Entity* duration, const Entity* end, Entity* out);
// Informats
std::int32_t is8601vli(FormatBlock* block, std::int32_t mode);
std::int32_t is8601dui(FormatBlock* block, std::int32_t mode);
std::int32_t is8601pdi(FormatBlock* block, std::int32_t mode);
// Reading packed values and rendering text
std::int32_t dehexify(const char* text, int count, std::uint8_t* destination);
int convert_from_bcd(Entity* e);
int convert_to_text(const Entity* e, FormatBlock* block, std::int32_t options);
// Formats
std::int32_t is8601duf(FormatBlock* block, std::int32_t options);
std::int32_t is8601pdf(FormatBlock* block, std::int32_t options);
std::int32_t is8601vlf(FormatBlock* block, std::int32_t duration_options, std::int32_t datetime_options);
int FitToTarget(FormatBlock* block, const char* text, int length, int slash, std::int32_t mode);
}

// The reader's shortcut: a complete extended datetime (yyyy-mm-ddThh:mm:ss,
// optionally with Z) or a duration of whole designated numbers that packs as
// digits, read into the record and packed exactly as the general reader
// does. False for any other text, the record perhaps partly written: the
// general reader, which clears it first, then reads the text.
bool read_common_form(const char* text, int length, Entity* e);
