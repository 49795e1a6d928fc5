// Call stubs for the host services, generated from services.def. A stub
// clears its component's byte in the anchor's byte array, then calls the
// routine in the component's vector:  hostcall::zfmt(&block).
#pragma once

#include <cstdint>

#include "abi/anchor.h"
#include "abi/call_block.h"

extern "C" {
extern ServiceAnchor* v_global_gcb_anchor;  // the service anchor, set by mcn_main
extern void* v_global_pidb_anchor;          // the host's second anchor
extern void* Exported_RQHandle;             // copy of the anchor's handle word
}

namespace hostcall {

template <class Signature>
inline Signature* routine(int comp, int slot) {
    ServiceAnchor* a = v_global_gcb_anchor;
    __atomic_store_n(&a->component_bytes[comp], std::uint8_t{0}, __ATOMIC_RELAXED);
    return reinterpret_cast<Signature*>(const_cast<void*>(a->directory[comp][slot]));
}

template <class Signature, int Comp, int Slot>
struct Service;

template <class R, class... A, int Comp, int Slot>
struct Service<R(A...), Comp, Slot> {
    R operator()(A... a) const { return routine<R(A...)>(Comp, Slot)(a...); }
};

template <class R, class... A, int Comp, int Slot>
struct Service<R(A..., ...), Comp, Slot> {
    template <class... V>
    R operator()(A... a, V... v) const {
        return routine<R(A..., ...)>(Comp, Slot)(a..., v...);
    }
};

#define ISOFMT_SERVICE(name, comp, slot, ...) \
    inline constexpr Service<__VA_ARGS__, comp, slot> name{};
#include "abi/services.def"
#undef ISOFMT_SERVICE

// Tables held by the anchor.
inline const std::uint8_t* upcase_table() { return v_global_gcb_anchor->upcase; }
inline const std::uint8_t* char_class_table() { return v_global_gcb_anchor->char_class; }
inline std::uint8_t upcase(char c) { return upcase_table()[static_cast<unsigned char>(c)]; }
inline bool is_digit(char c) { return (char_class_table()[static_cast<unsigned char>(c)] & kCharDigit) != 0; }
inline Environment* default_environment() { return v_global_gcb_anchor->default_environment; }
inline Environment* environment_of(const FormatBlock* b) {
    return b->environment ? b->environment : default_environment();
}

}  // namespace hostcall
