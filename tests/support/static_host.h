// A reference host whose services the statically linked plug-in code calls:
// construct one per test (or fixture) before calling any routine.
#pragma once

#include <cstring>
#include <string>

#include "host/call_block.h"
#include "host/module.h"
#include "isofmt/host.h"

namespace testing_support {

class StaticHost {
public:
    explicit StaticHost(isofmt::HostConfig config = {}) : host(std::move(config)) {
        mcn_main(host.anchor(), host.second_anchor());
    }
    isofmt::Host host;
};

// A call block for a numeric value, writing into `out`.
inline FormatBlock numeric_block(const double* value, int width, int decimals, char* out, int capacity,
                                 bool validate = false) {
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = value;
    b.output = out;
    b.capacity = capacity;
    b.flags = validate ? kValidateFlag : 0;
    return b;
}

inline std::string output_of(const FormatBlock& b) {
    return std::string(b.output, b.output_length > 0 ? static_cast<std::size_t>(b.output_length) : 0);
}

}  // namespace testing_support
