// What a host's services share: the DEBUG option, the log sink and the
// default environment. Services that the interface hands no environment or
// area (options, log, exit, GMT offset, missing text of a block without an
// environment) use the context of the most recently created live host.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace isofmt::detail {

struct HostEnvironment;

struct Context {
    std::string debug;  // the DEBUG option; empty = not set
    std::function<void(std::string_view)> log;
    HostEnvironment* default_environment = nullptr;

    // One line to the sink (or stderr); lines never interleave.
    void write_log(std::string_view line);

private:
    std::mutex log_mutex_;
};

// The context services fall back on; null when no host lives.
Context* current_context();

// Makes `context` current for as long as it lives (hosts nest: when the
// newest one goes, the one created before it is current again).
void enter_context(Context* context);
void leave_context(Context* context);

}  // namespace isofmt::detail
