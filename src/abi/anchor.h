// Binary layouts that the host hands to the modules: the service anchor, the
// allocator objects, the environment with its named-storage area and its
// national-language objects. The host may keep private fields after each
// prefix; the modules read only what is declared here.
#pragma once

#include <cstddef>
#include <cstdint>

struct Allocator;

// Slot 0 allocates, slot 1 releases.
struct AllocatorVector {
    void* (*allocate)(Allocator* self, std::size_t size, std::uint32_t flags);
    void (*release)(Allocator* self, void* block, std::int32_t zero, std::int32_t four);
};

struct Allocator {
    const AllocatorVector* vector;
};
static_assert(sizeof(Allocator) == 8);

// Named storage of an environment: records found by name.
struct NamedArea {
    Allocator* allocator;  // the area's own allocator
};
static_assert(offsetof(NamedArea, allocator) == 0);

// Page table handed out by a named-storage lookup: the record of token t is
// pages[kFirstPage + t / 65536][t % 65536].
using NamedPage = void**;
using NamedPageTable = NamedPage*;
inline constexpr int kFirstPage = 6;
inline constexpr int kPageEntries = 65536;

// One national-language object; the environment keeps them as a list.
// `strings` is null when the object carries no string table. A month table
// holds at least kMonthLastEntry + 1 entries; entry kMonthFirstEntry - 1 + m
// is month m as a length byte followed by its abbreviation.
struct LanguageObject {
    const LanguageObject* next;
    const char* const* strings;
    std::int32_t string_count;
    std::int32_t reserved;
};
static_assert(sizeof(LanguageObject) == 24);
static_assert(offsetof(LanguageObject, next) == 0);
static_assert(offsetof(LanguageObject, strings) == 8);
static_assert(offsetof(LanguageObject, string_count) == 16);
inline constexpr int kMonthFirstEntry = 102;
inline constexpr int kMonthLastEntry = 113;

struct Environment {
    NamedArea* named_storage;
    const LanguageObject* languages;
};
static_assert(offsetof(Environment, named_storage) == 0);
static_assert(offsetof(Environment, languages) == 8);

// Components of the directory of service vectors.
namespace service_component {
inline constexpr int kGeneral = 0;
inline constexpr int kKernel = 30;
inline constexpr int kDate = 155;
inline constexpr int kZone = 525;
inline constexpr int kCount = 526;  // directory entries, indexed by component
}  // namespace service_component

inline constexpr std::uint8_t kCharDigit = 0x04;  // character-class flag

struct ServiceAnchor {
    const void* const* const* directory;  // component -> vector of routine addresses
    std::uint8_t* component_bytes;        // one byte per component, cleared by each call
    void* handle;                         // copied by mcn_main into Exported_RQHandle
    const std::uint8_t* upcase;           // 256-byte upper-case table
    const std::uint8_t* char_class;       // 256-byte character-class table
    Environment* default_environment;
    Allocator* registration_allocator;
    Allocator* release_allocator;
};
static_assert(sizeof(ServiceAnchor) == 64);
static_assert(offsetof(ServiceAnchor, directory) == 0);
static_assert(offsetof(ServiceAnchor, component_bytes) == 8);
static_assert(offsetof(ServiceAnchor, handle) == 16);
static_assert(offsetof(ServiceAnchor, upcase) == 24);
static_assert(offsetof(ServiceAnchor, char_class) == 32);
static_assert(offsetof(ServiceAnchor, default_environment) == 40);
static_assert(offsetof(ServiceAnchor, registration_allocator) == 48);
static_assert(offsetof(ServiceAnchor, release_allocator) == 56);
