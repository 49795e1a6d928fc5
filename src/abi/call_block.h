// The format call block: the 80-byte record that every format and informat
// routine receives, the status words they return, and the validation rule
// that every routine applies first.
#pragma once

#include <cstddef>
#include <cstdint>

struct Environment;

struct FormatBlock {
    std::int32_t width;            // field width w
    std::int32_t decimals;         // decimals d
    const void* value;             // numeric formats: a double; informats and packed formats: text
    std::int32_t input_length;     // informats: characters available at value
    std::uint8_t reserved20[4];
    char* output;                  // where the routine writes its text
    std::int32_t capacity;         // room of the target
    std::int32_t output_length;    // set by the routine
    std::uint8_t reserved40[8];
    Environment* environment;      // task environment, may be null
    std::uint8_t flags;            // bit 0: validate width and decimals
    std::uint8_t reserved57[23];
};

static_assert(sizeof(FormatBlock) == 80);
static_assert(offsetof(FormatBlock, width) == 0);
static_assert(offsetof(FormatBlock, decimals) == 4);
static_assert(offsetof(FormatBlock, value) == 8);
static_assert(offsetof(FormatBlock, input_length) == 16);
static_assert(offsetof(FormatBlock, reserved20) == 20);
static_assert(offsetof(FormatBlock, output) == 24);
static_assert(offsetof(FormatBlock, capacity) == 32);
static_assert(offsetof(FormatBlock, output_length) == 36);
static_assert(offsetof(FormatBlock, reserved40) == 40);
static_assert(offsetof(FormatBlock, environment) == 48);
static_assert(offsetof(FormatBlock, flags) == 56);
static_assert(offsetof(FormatBlock, reserved57) == 57);

inline constexpr std::uint8_t kValidateFlag = 0x01;

// Status words returned by format routines.
namespace status {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kWidthBelowMin = static_cast<std::int32_t>(0x80002027u);
inline constexpr std::int32_t kWidthAboveMax = static_cast<std::int32_t>(0x80002028u);
inline constexpr std::int32_t kDecimalsBelowMin = static_cast<std::int32_t>(0x80002029u);
inline constexpr std::int32_t kDecimalsAboveMax = static_cast<std::int32_t>(0x8000202au);
inline constexpr std::int32_t kOutOfRange = static_cast<std::int32_t>(0x8001d815u);
inline constexpr std::int32_t kProblemReported = static_cast<std::int32_t>(0x8001d825u);
inline constexpr std::int32_t kCapacity = static_cast<std::int32_t>(0x8001d826u);
inline constexpr std::int32_t kNotHex = static_cast<std::int32_t>(0x80002021u);
inline constexpr std::int32_t kFieldTooNarrow = static_cast<std::int32_t>(0x8000200du);
}  // namespace status

// Routine shapes, as the host calls them.
extern "C" {
typedef std::int32_t FormatRoutine(FormatBlock*);
typedef std::int32_t InformatRoutine(FormatBlock*, std::int32_t mode);
typedef std::int32_t DurationFormatRoutine(FormatBlock*, std::int32_t options);
typedef std::int32_t IntervalFormatRoutine(FormatBlock*, std::int32_t duration_options,
                                           std::int32_t datetime_options);
}

// Width and decimals limits of one routine.
struct Limits {
    std::int32_t min_width, max_width, min_decimals, max_decimals;
};

// With the validation flag set: the first failing limit, in the fixed order
// width-min, width-max, decimals-min, decimals-max; 0 when all pass or the
// flag is clear.
inline std::int32_t validate(const FormatBlock* b, const Limits& l) {
    if (!(b->flags & kValidateFlag)) return status::kOk;
    if (b->width < l.min_width) return status::kWidthBelowMin;
    if (b->width > l.max_width) return status::kWidthAboveMax;
    if (b->decimals < l.min_decimals) return status::kDecimalsBelowMin;
    if (b->decimals > l.max_decimals) return status::kDecimalsAboveMax;
    return status::kOk;
}

inline double block_value(const FormatBlock* b) { return *static_cast<const double*>(b->value); }
inline bool is_missing(double x) { return x != x; }
