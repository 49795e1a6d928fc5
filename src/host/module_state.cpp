// The module state record in the host's named storage: set up at
// registration, released when the host ends its storage, read by the
// local-offset formats and the problem reporter.
#include "host/module_state.h"

#include <cmath>
#include <climits>

#include "binding/hostcall.h"
#include "abi/problems.h"
#include "text/text.h"

namespace {

constexpr int kNameLength = 14;
constexpr char kDiagnosticsWord[] = "N8601DIAG";
constexpr int kDiagnosticsLength = 9;
constexpr char kNoOffset[] = "      ";
constexpr std::uint32_t kStateFlags = 0x3006;

// Looks the record up in the named storage of `env`; sets `token` and
// returns the lookup's result, `*record` the slot's content when found.
std::int32_t lookup(Environment* env, std::int32_t* token, ModuleState** record) {
    NamedPageTable pages = nullptr;
    *record = nullptr;
    const std::int32_t rc =
        hostcall::xytngl(env->named_storage, 0, module_state_name, kNameLength, token, &pages);
    if (rc == 0 && pages != nullptr)
        *record = static_cast<ModuleState*>(pages[kFirstPage + *token / kPageEntries][*token % kPageEntries]);
    return rc;
}

ModuleState* find_state(Environment* env) {
    std::int32_t token = 0;
    ModuleState* record = nullptr;
    return lookup(env, &token, &record) == 0 ? record : nullptr;
}

void set_byte(std::atomic<std::uint8_t>& b, std::uint8_t v) { b.store(v, std::memory_order_relaxed); }

bool debug_asks_for_diagnostics() {
    std::int32_t st = -1;
    const char* text = hostcall::xoptcgt("DEBUG", &st);
    if (st != 0 || text == nullptr) return false;
    const int n = wzstlen(text);
    for (int i = 0; n - i >= kDiagnosticsLength; ++i)
        if (hostcall::upcase(text[i]) == 'N' && wzbcup(text + i, kDiagnosticsWord, kDiagnosticsLength) == 0)
            return true;
    return false;
}

void store_gmt_text(ModuleState* state) {
    double offset = 0;
    hostcall::wzdtgmt(&offset);
    // Truncate toward zero; an offset beyond a day is not one a host gives,
    // but must not overflow the conversion.
    const double bounded = std::isnan(offset) ? 0 : std::fmax(-86399.0, std::fmin(86399.0, offset));
    const int s = static_cast<int>(bounded);
    const int a = s < 0 ? -s : s;
    const int h = a / 3600;
    const int m = a % 3600 / 60;
    const char text[6] = {s < 0 ? '-' : '+', static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10),
                          ':', static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10)};
    for (int i = 0; i < 6; ++i) state->gmt_text[i].store(text[i], std::memory_order_relaxed);
}

enum class LogForm { none, quoting, formatting, formatting_once };

LogForm log_form(std::int32_t code) {
    switch (code) {
        case 22:
        case 24: return LogForm::formatting_once;
        case 27: return LogForm::formatting;
        default: return code >= 1 && code <= 26 ? LogForm::quoting : LogForm::none;
    }
}

void log_problem(const FormatBlock* block, ModuleState* state, std::int32_t code) {
    const LogForm form = log_form(code);
    const bool known = form != LogForm::none;
    if (form == LogForm::formatting_once) {
        if (state->reported[code - 1].exchange(1, std::memory_order_relaxed) == 0)
            hostcall::xpslog("Problem with formatting: %s.", problem_text(code));
        return;
    }
    if (known) set_byte(state->reported[code - 1], 1);
    if (form == LogForm::formatting) {
        hostcall::xpslog("Problem with formatting: %s.", problem_text(code));
        return;
    }
    // The text at the value pointer is not NUL-terminated: bound the read by
    // the input length (precision) as well as padding to it (width).
    const int length = block->input_length > 0 && block->value != nullptr ? block->input_length : 0;
    const char* text = length > 0 ? static_cast<const char*>(block->value) : "";
    hostcall::xpslog("Problem with: '%*.*s': %s.", length, length, text, problem_text(code));
}

}  // namespace

int uwxn8601_init() {
    Environment* env = hostcall::default_environment();
    NamedArea* area = env->named_storage;
    if (area == nullptr) return 0;  // an environment without named storage: no state to keep
    std::int32_t token = 0;
    ModuleState* state = nullptr;
    if (lookup(env, &token, &state) == kNameNotFound) {
        void* handle = nullptr;
        // Without a slot of its own the record would take over another's.
        if (hostcall::vir2g(&uwxn8601_term, &handle, area, v_global_pidb_anchor) != 0 ||
            hostcall::wtrscrt(area, &token, 0, handle) != 0)
            return 0;
        hostcall::xytnsl(area, 1, module_state_name, kNameLength, token);
        state = static_cast<ModuleState*>(vmalcp_handler(area->allocator, sizeof(ModuleState), kStateFlags));
        hostcall::wtrsset(area, token, state);
    }
    if (state == nullptr) return 0;  // the host could not give a record: no state to keep
    if (debug_asks_for_diagnostics()) set_byte(state->diagnostics, 1);
    for (auto& flag : state->reported) set_byte(flag, 0);
    store_gmt_text(state);
    return 0;
}

std::int32_t uwxn8601_term() {
    Environment* env = hostcall::default_environment();
    std::int32_t token = 0;
    ModuleState* state = nullptr;
    if (lookup(env, &token, &state) == 0 && state != nullptr) {
        vmfree_handler(v_global_gcb_anchor->release_allocator, state, 0, 4);
        // Empty the slot so that no later lookup hands out the freed record.
        hostcall::wtrsset(env->named_storage, token, nullptr);
    }
    return 0;
}

const char* get_gmt_offsetc(FormatBlock* block) {
    ModuleState* state = find_state(hostcall::environment_of(block));
    return state != nullptr ? reinterpret_cast<const char*>(state->gmt_text) : kNoOffset;
}

std::int32_t n8601prob(FormatBlock* block, std::int32_t fill, std::int32_t code) {
    if (code == 0) return status::kOk;
    ModuleState* state = find_state(hostcall::default_environment());
    if (state != nullptr && state->diagnostics.load(std::memory_order_relaxed) == 1)
        log_problem(block, state, code);
    const int n = min(block->width, block->capacity);
    if (n > 0) fill_bytes(block->output, n, fill == kFillAsterisks ? '*' : 'F');
    block->output_length = n > 0 ? n : 0;
    return status::kProblemReported;
}
