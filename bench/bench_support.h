// What the benchmarks share: the host that has loaded the built plug-ins,
// the routine a loaded plug-in registered under a name, and the call block
// a host hands a format.
#pragma once

#include <stdexcept>
#include <string>

#include "abi/call_block.h"
#include "isofmt/host.h"

namespace bench_support {

// Seconds from 1960-01-01 (the host's origin) to 1970-01-01 (the C library's).
inline constexpr double kUnixEpoch = 315619200;

// One host for the whole run, with every plug-in of the build loaded.
inline isofmt::Host& loaded_host() {
    static isofmt::Host* host = [] {
        auto* h = new isofmt::Host();
        h->load_directory(isofmt::default_plugin_directory());
        return h;
    }();
    return *host;
}

// The routine registered under `name`, called through the shape `Routine`;
// throws when no loaded plug-in offers it.
template <class Routine = FormatRoutine>
Routine* routine_of(const char* name, isofmt::Kind kind = isofmt::Kind::format) {
    const isofmt::CatalogueEntry* e = loaded_host().find(name, kind);
    if (e == nullptr)
        throw std::runtime_error(std::string(kind == isofmt::Kind::format ? "no format " : "no informat ") + name);
    return reinterpret_cast<Routine*>(e->routine);
}

// A call block for `value`, writing `width` characters into `out`.
inline FormatBlock call_block(const void* value, int width, int decimals, char* out) {
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = value;
    b.output = out;
    b.capacity = width;
    return b;
}

// An environment of the loaded host in America/New_York, for the zoned families.
inline Environment* new_york() {
    static Environment* env = [] {
        isofmt::EnvironmentConfig config;
        config.time_zone = "America/New_York";
        return loaded_host().create_environment(config);
    }();
    return env;
}

}  // namespace bench_support
