// What every fuzz target shares: the module image that the statically
// linked plug-in code expects, a reader of typed fields from the fuzzer's
// bytes, the host that code is bound to with the built plug-ins loaded, and
// buffers with guard bytes on both sides.
//
// Include it from the one source of each target: it defines the module image.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ISOFMT_FUZZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ISOFMT_FUZZ_ASAN 1
#endif
#endif
#ifdef ISOFMT_FUZZ_ASAN
#include <sanitizer/asan_interface.h>
#endif

#include "abi/call_block.h"
#include "host/module.h"
#include "host/module_state.h"
#include "isofmt/host.h"

extern "C" {
const char module_state_name[15] = "__FMT_DTEXTND1";
void* fuzz_module(std::int32_t) { return nullptr; }
}
ISOFMT_MODULE_IMAGE(pcn_FUZZ, fuzz_module, 0)

namespace fuzz_support {

// Takes fixed-size fields off the front of the input; a field the input is
// too short for is zero-filled past its end.
struct Input {
    const std::uint8_t* data;
    std::size_t size;

    template <class T>
    T take() {
        T v{};
        const std::size_t n = size < sizeof v ? size : sizeof v;
        std::memcpy(&v, data, n);
        data += n;
        size -= n;
        return v;
    }
};

// The start of a generated value: a kind byte, then eight bytes that are
// either the value's own bits (odd kinds) or, by their top 53 bits, a
// fraction in [0, 1) that the kind places near a corner.
struct Draw {
    std::uint8_t kind;
    std::uint64_t bits;
    bool raw() const { return kind & 1; }
    double value() const { return std::bit_cast<double>(bits); }
    double fraction() const { return static_cast<double>(bits >> 11) / 0x1p53; }
};

inline Draw draw(Input& in) {
    const std::uint8_t kind = in.take<std::uint8_t>();
    return {kind, in.take<std::uint64_t>()};
}

// One call of a format routine into a room of guard bytes: the text, its
// status and output length; aborts when the routine writes past its field
// (the smaller of the width and the capacity).
struct Rendered {
    static constexpr int kRoom = 64;
    char out[kRoom];
    std::int32_t status, length;
};

inline Rendered render_guarded(FormatRoutine* routine, double value, int width, int decimals, int capacity,
                               std::uint8_t flags, Environment* environment = nullptr) {
    Rendered r;
    std::memset(r.out, 0x5A, sizeof r.out);
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = &value;
    b.output = r.out;
    b.capacity = capacity;
    b.flags = flags;
    b.environment = environment;
    b.output_length = -99;
    r.status = routine(&b);
    r.length = b.output_length;
    const int field = width < capacity ? width : capacity;
    for (int i = field > 0 ? field : 0; i < Rendered::kRoom; ++i)
        if (r.out[i] != 0x5A) std::abort();
    return r;
}

// A host configuration whose log lines (the too-short-target notes and
// the like) are dropped, so that a run prints only its findings.
inline isofmt::HostConfig quiet_config() {
    isofmt::HostConfig config;
    config.log = [](std::string_view) {};
    return config;
}

// Makes a host that lives for the whole run and binds the statically linked
// code to its services; with `module_state`, also sets up the module state
// record as the ISO modules' registration does. Call it once per process.
// The built plug-ins are loaded into the same host, so that a target calls
// every entry point as a host does: through the routine the loaded image
// registered.
inline isofmt::Host& bind_host(isofmt::HostConfig config = {}, bool module_state = true) {
    static isofmt::Host* host = nullptr;  // never destroyed: held here so it is not a leak
    host = new isofmt::Host(std::move(config));
    mcn_main(host->anchor(), host->second_anchor());
    if (module_state) uwxn8601_init();
    host->load_directory(ISOFMT_PLUGIN_DIR);
    return *host;
}

// The catalogue entries of one kind and shape (or every shape).
inline std::vector<const isofmt::CatalogueEntry*> entries(const isofmt::Host& host, isofmt::Kind kind,
                                                          const isofmt::Shape* shape = nullptr) {
    std::vector<const isofmt::CatalogueEntry*> out;
    for (const auto& e : host.catalogue())
        if (e.kind == kind && (!shape || e.shape == *shape)) out.push_back(&e);
    if (out.empty()) std::abort();  // the plug-ins were not loaded
    return out;
}

// A buffer of `size` bytes (none when not positive) between two runs of
// guard bytes. Under AddressSanitizer the guards are poisoned, so that any
// read or write of them is reported where it happens; intact() checks that
// none was written in any build.
class Guarded {
public:
    static constexpr std::size_t kGuard = 32;
    static constexpr char kGuardByte = '\x5A';

    explicit Guarded(std::ptrdiff_t size, char fill = 0)
        : size_(size > 0 ? static_cast<std::size_t>(size) : 0), bytes_(new char[size_ + 2 * kGuard]) {
        std::memset(bytes_.get(), kGuardByte, kGuard);
        std::memset(bytes_.get() + kGuard, fill, size_);
        std::memset(bytes_.get() + kGuard + size_, kGuardByte, kGuard);
        poison(true);
    }
    Guarded(const void* text, std::size_t size) : Guarded(static_cast<std::ptrdiff_t>(size)) {
        if (size) std::memcpy(data(), text, size);
    }
    ~Guarded() { poison(false); }
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    char* data() { return bytes_.get() + kGuard; }
    std::size_t size() const { return size_; }
    std::string text(std::size_t n) { return std::string(data(), n < size_ ? n : size_); }

    bool intact() {
        poison(false);
        bool ok = true;
        for (std::size_t i = 0; i < kGuard; ++i)
            ok = ok && bytes_[i] == kGuardByte && bytes_[kGuard + size_ + i] == kGuardByte;
        poison(true);
        return ok;
    }
    // Aborts (a finding) unless the guards are intact.
    void check() {
        if (!intact()) std::abort();
    }

private:
    void poison(bool on) {
#ifdef ISOFMT_FUZZ_ASAN
        if (on) {
            ASAN_POISON_MEMORY_REGION(bytes_.get(), kGuard);
            ASAN_POISON_MEMORY_REGION(bytes_.get() + kGuard + size_, kGuard);
        } else {
            ASAN_UNPOISON_MEMORY_REGION(bytes_.get(), kGuard);
            ASAN_UNPOISON_MEMORY_REGION(bytes_.get() + kGuard + size_, kGuard);
        }
#else
        (void)on;
#endif
    }

    std::size_t size_;
    std::unique_ptr<char[]> bytes_;
};

// Whether the output length a routine set stays within the capacity it was
// given (none when that is not positive).
inline bool within(const FormatBlock& b, int capacity) { return b.output_length <= (capacity > 0 ? capacity : 0); }

}  // namespace fuzz_support
