// A reference host whose services the statically linked plug-in code calls:
// construct one per test (or fixture) before calling any routine.
#pragma once

#include <cstring>
#include <string>

#include "abi/call_block.h"
#include "binding/hostcall.h"
#include "host/module.h"
#include "isofmt/host.h"

namespace testing_support {

// Points the statically linked code at its host while it lives; on the way
// out the host ends its storage (end routines run against this host) and the
// previous anchors are put back.
class StaticHost {
public:
    explicit StaticHost(isofmt::HostConfig config = {})
        : host(std::move(config)), previous_(v_global_gcb_anchor), previous_second_(v_global_pidb_anchor) {
        mcn_main(host.anchor(), host.second_anchor());
    }
    ~StaticHost() {
        mcn_main(host.anchor(), host.second_anchor());
        host.end_storage();
        v_global_gcb_anchor = previous_;
        v_global_pidb_anchor = previous_second_;
    }
    StaticHost(const StaticHost&) = delete;
    StaticHost& operator=(const StaticHost&) = delete;

    isofmt::Host host;

private:
    ServiceAnchor* previous_;
    void* previous_second_;
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
