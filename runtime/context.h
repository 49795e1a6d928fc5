// What a host's services share: the DEBUG option, the log sink and the
// default environment.
//
// The services that the interface hands no environment or area (options,
// log, exit, GMT offset, missing text of a block without an environment)
// cannot tell from their arguments which host a plug-in belongs to. Every
// call a Host makes into a plug-in (registration, a value, the end of its
// storage) therefore runs inside a CallScope that makes that host's context
// current on the calling thread. Outside any scope (code that calls a
// routine it bound itself) the most recently created live host's context is
// used.
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

// The context of the call in progress on this thread; otherwise that of the
// most recently created live host; null when no host lives.
Context* current_context();

// A live host's context, in creation order, for calls outside any scope.
void enter_context(Context* context);
void leave_context(Context* context);

// The context of the call in progress on this thread (null outside any).
extern constinit thread_local Context* t_scope;

// Makes `context` current on this thread while the scope lasts; scopes nest
// (a plug-in call made from within another host's call restores it after).
// Inline: every value a Host renders opens one.
class CallScope {
public:
    explicit CallScope(Context* context) : previous_(t_scope) { t_scope = context; }
    ~CallScope() { t_scope = previous_; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    Context* previous_;
};

}  // namespace isofmt::detail
