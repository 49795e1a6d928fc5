// Layouts the host reads from a loaded module: the image-information block
// vi_mcn, the module descriptor, the format item record and the
// registration results.
#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/call_block.h"

// Format item record: a format's name and its width and decimals limits.
struct FormatItem {
    char name[38];
    std::int16_t min_width;
    std::int16_t max_width;
    std::int16_t default_width;
    std::int16_t min_decimals;
    std::int16_t default_decimals;
    std::int16_t max_decimals;
    std::uint8_t zero[4];
};
static_assert(sizeof(FormatItem) == 54);
static_assert(offsetof(FormatItem, name) == 0);
static_assert(offsetof(FormatItem, min_width) == 38);
static_assert(offsetof(FormatItem, max_width) == 40);
static_assert(offsetof(FormatItem, default_width) == 42);
static_assert(offsetof(FormatItem, min_decimals) == 44);
static_assert(offsetof(FormatItem, default_decimals) == 46);
static_assert(offsetof(FormatItem, max_decimals) == 48);
static_assert(offsetof(FormatItem, zero) == 50);

// Result of a type-1 registration call.
struct ItemResult {
    std::int32_t count;
    std::uint8_t as_allocated[4];
    const FormatItem* items;
};
static_assert(sizeof(ItemResult) == 16);
static_assert(offsetof(ItemResult, count) == 0);
static_assert(offsetof(ItemResult, items) == 8);

// Result of a type-2 registration call: word 0 as allocated, then the
// routine addresses in item-table order (words 1 to count).
inline constexpr std::size_t routine_result_size(std::size_t count) { return 8 + 8 * count; }
inline FormatRoutine** routine_words(void* result) { return static_cast<FormatRoutine**>(result) + 1; }
inline FormatRoutine* const* routine_words(const void* result) {
    return static_cast<FormatRoutine* const*>(result) + 1;
}
static_assert(sizeof(FormatRoutine*) == 8);

// Module routine: the type selects the item result (1) or routine result (2).
extern "C" typedef void* ModuleRoutine(std::int32_t type);

struct ModuleDescriptor {
    std::int16_t zero;
    std::uint8_t ff[6];
    std::int64_t size_a;        // 1024
    std::int64_t size_b;        // 1024
    char routine_name[16];      // lower case, NUL-padded
    ModuleRoutine* routine;
    std::int64_t one;           // 1
    std::int64_t level;         // 9683
    std::int64_t particular;    // module-specific word
    std::int64_t fifteen;       // 15
};
static_assert(sizeof(ModuleDescriptor) == 80);
static_assert(offsetof(ModuleDescriptor, zero) == 0);
static_assert(offsetof(ModuleDescriptor, ff) == 2);
static_assert(offsetof(ModuleDescriptor, size_a) == 8);
static_assert(offsetof(ModuleDescriptor, size_b) == 16);
static_assert(offsetof(ModuleDescriptor, routine_name) == 24);
static_assert(offsetof(ModuleDescriptor, routine) == 40);
static_assert(offsetof(ModuleDescriptor, one) == 48);
static_assert(offsetof(ModuleDescriptor, level) == 56);
static_assert(offsetof(ModuleDescriptor, particular) == 64);
static_assert(offsetof(ModuleDescriptor, fifteen) == 72);

inline constexpr std::uint32_t kImageMagic = 0xB0BDEBEDu;

struct ImageInformation {
    char marker[24];            // "ZUQ_Image_Information=" and two NULs
    std::uint32_t magic;        // kImageMagic
    std::uint32_t zero;
    std::int64_t eight;         // 8
    char short_release[6];
    char long_release[20];
    char build_date[30];        // "Mmm dd yyyy", NUL-padded
    const void* const* pcns;    // mcn_pcns
    const char* banner;
    char tail[8];               // "001"
};
static_assert(sizeof(ImageInformation) == 120);
static_assert(offsetof(ImageInformation, marker) == 0);
static_assert(offsetof(ImageInformation, magic) == 24);
static_assert(offsetof(ImageInformation, zero) == 28);
static_assert(offsetof(ImageInformation, eight) == 32);
static_assert(offsetof(ImageInformation, short_release) == 40);
static_assert(offsetof(ImageInformation, long_release) == 46);
static_assert(offsetof(ImageInformation, build_date) == 66);
static_assert(offsetof(ImageInformation, pcns) == 96);
static_assert(offsetof(ImageInformation, banner) == 104);
static_assert(offsetof(ImageInformation, tail) == 112);

// The version stamp copied out by rqbldtg1: 26 pointer-sized words.
inline constexpr std::size_t kVersionStampWords = 26;
