// The module state of the ISO modules: one 34-byte record per host, kept in
// the host's named storage, and the routines that work on it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "abi/anchor.h"
#include "abi/call_block.h"

// Every byte is a relaxed atomic: several threads may report problems or
// read the GMT text while another registration refreshes the record.
struct ModuleState {
    std::atomic<std::uint8_t> diagnostics;    // 1 = on; never cleared
    std::atomic<std::uint8_t> reported[27];   // problem codes 1..27 reported since init
    std::atomic<char> gmt_text[6];            // "+hh:mm"
};
static_assert(sizeof(ModuleState) == 34);
static_assert(offsetof(ModuleState, diagnostics) == 0);
static_assert(offsetof(ModuleState, reported) == 1);
static_assert(offsetof(ModuleState, gmt_text) == 28);
static_assert(std::atomic<std::uint8_t>::is_always_lock_free);

inline constexpr std::int32_t kNameNotFound = static_cast<std::int32_t>(0x80008026u);
inline constexpr std::int32_t kFillAsterisks = 1;

// The record's name in named storage; each module defines its own.
extern "C" const char module_state_name[15];

extern "C" {
int uwxn8601_init();
std::int32_t uwxn8601_term();
const char* get_gmt_offsetc(FormatBlock* block);
std::int32_t n8601prob(FormatBlock* block, std::int32_t fill, std::int32_t code);
void* vmalcp_handler(Allocator* allocator, std::size_t size, std::uint32_t flags);
void vmfree_handler(Allocator* allocator, void* block, std::int32_t zero, std::int32_t four);
}

// Copies the 6 characters that get_gmt_offsetc points at (relaxed loads: the
// record may be refreshed while it is read).
inline void load_gmt_text(const char* text, char out[6]) {
    for (int i = 0; i < 6; ++i) out[i] = __atomic_load_n(text + i, __ATOMIC_RELAXED);
}

