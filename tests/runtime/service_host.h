// A reference host whose services the tests call through the modules' own
// call stubs (hostcall::zfmt(&block), ...), with its log captured.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "binding/hostcall.h"
#include "isofmt/host.h"

namespace runtime_test {

class ServiceHost {
public:
    explicit ServiceHost(isofmt::HostConfig config = {})
        : host(with_capture(std::move(config), &log)), previous_(v_global_gcb_anchor) {
        v_global_gcb_anchor = host.anchor();
    }
    ~ServiceHost() { v_global_gcb_anchor = previous_; }
    ServiceHost(const ServiceHost&) = delete;
    ServiceHost& operator=(const ServiceHost&) = delete;

    std::vector<std::string> log;
    isofmt::Host host;

private:
    static isofmt::HostConfig with_capture(isofmt::HostConfig c, std::vector<std::string>* log) {
        if (!c.log) c.log = [log](std::string_view line) { log->emplace_back(line); };
        return c;
    }
    ServiceAnchor* previous_;
};

inline bool missing(double x) { return std::isnan(x); }

inline isofmt::HostConfig with_environment(isofmt::EnvironmentConfig e) {
    isofmt::HostConfig c;
    c.environment = std::move(e);
    return c;
}

inline isofmt::HostConfig with_debug(std::string debug) {
    isofmt::HostConfig c;
    c.debug = std::move(debug);
    return c;
}

}  // namespace runtime_test
