// Host options, the log and the end of the run.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "context.h"
#include "services.h"

namespace isofmt::service {
namespace {

constexpr std::int32_t kOptionNotSet = 1;

bool same_name(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = (*a >= 'a' && *a <= 'z') ? char(*a - 32) : *a;
        if (x != *b) return false;
    }
    return *a == *b;
}

}  // namespace

const char* xoptcgt(const char* name, std::int32_t* status) {
    detail::Context* c = detail::current_context();
    bool set = c && name && same_name(name, "DEBUG") && !c->debug.empty();
    if (status) *status = set ? 0 : kOptionNotSet;
    return set ? c->debug.c_str() : "";
}

std::int32_t xpslog(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(line, sizeof line, format ? format : "", args);
    va_end(args);
    if (n < 0) return 1;
    std::size_t length = std::strlen(line);  // a long line is cut at the buffer
    if (length > 0 && line[length - 1] == '\n') --length;
    if (detail::Context* c = detail::current_context()) {
        c->write_log(std::string_view(line, length));
    } else {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(length), line);
    }
    return 0;
}

void xexit(std::int32_t code, std::int32_t flag) {
    xpslog("The run ends: a module asked the host to exit with code %d.", static_cast<int>(code));
    std::fflush(nullptr);
    std::_Exit(code & 0xff);
}

}  // namespace isofmt::service
