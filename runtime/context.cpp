#include "context.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace isofmt::detail {
namespace {

std::atomic<Context*> g_current{nullptr};
std::mutex g_stack_mutex;

std::vector<Context*>& live_contexts() {
    static std::vector<Context*> contexts;
    return contexts;
}

}  // namespace

constinit thread_local Context* t_scope = nullptr;

void Context::write_log(std::string_view line) {
    std::lock_guard lock(log_mutex_);
    if (log) {
        log(line);
    } else {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
}

Context* current_context() {
    Context* scoped = t_scope;
    return scoped ? scoped : g_current.load(std::memory_order_acquire);
}


void enter_context(Context* context) {
    std::lock_guard lock(g_stack_mutex);
    live_contexts().push_back(context);
    g_current.store(context, std::memory_order_release);
}

void leave_context(Context* context) {
    std::lock_guard lock(g_stack_mutex);
    auto& live = live_contexts();
    live.erase(std::remove(live.begin(), live.end(), context), live.end());
    g_current.store(live.empty() ? nullptr : live.back(), std::memory_order_release);
}

}  // namespace isofmt::detail
