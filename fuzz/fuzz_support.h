// What every fuzz target shares: the module image that the statically
// linked plug-in code expects, a reader of typed fields from the fuzzer's
// bytes, the host that code is bound to, and heap blocks of exact sizes.
//
// Include it from the one source of each target: it defines the module image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

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

// Makes a host that lives for the whole run and binds the statically linked
// code to its services; with `module_state`, also sets up the module state
// record as the ISO modules' registration does. Call it once per process.
inline isofmt::Host& bind_host(isofmt::HostConfig config = {}, bool module_state = true) {
    static isofmt::Host* host = nullptr;  // never destroyed: held here so it is not a leak
    host = new isofmt::Host(std::move(config));
    mcn_main(host->anchor(), host->second_anchor());
    if (module_state) uwxn8601_init();
    return *host;
}

// A heap block of exactly `size` bytes (one when `size` is not positive),
// so that the sanitizer catches any access beyond it.
inline std::unique_ptr<char[]> exact_block(std::ptrdiff_t size) {
    return std::unique_ptr<char[]>(new char[size > 0 ? static_cast<std::size_t>(size) : 1]);
}

// Whether the output length a routine set stays within the capacity it was
// given (none when that is not positive).
inline bool within(const FormatBlock& b, int capacity) { return b.output_length <= (capacity > 0 ? capacity : 0); }

}  // namespace fuzz_support
