// The Host: builds the anchor, owns environments, storage and plug-ins, and
// calls one routine per value.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "anchor.h"
#include "abi/call_block.h"
#include "abi/problems.h"
#include "host_impl.h"

namespace isofmt {

Host::Impl::Impl(HostConfig config) {
    context.debug = std::move(config.debug);
    context.log = std::move(config.log);
    heap.refuse = std::move(config.refuse_allocation);
    environments.push_back(std::make_unique<detail::OwnedEnvironment>(config.environment, storage.area()));
    context.default_environment = environments.front()->get();

    anchor.directory = detail::service_directory();
    anchor.component_bytes = component_bytes.data();
    anchor.handle = this;
    anchor.upcase = detail::upcase_table();
    anchor.char_class = detail::char_class_table();
    anchor.default_environment = &context.default_environment->base;
    anchor.registration_allocator = &registration_allocator.base;
    anchor.release_allocator = &release_allocator.base;
}

Host::Host(HostConfig config) : impl_(std::make_unique<Impl>(std::move(config))) {
    detail::enter_context(&impl_->context);
}

Host::~Host() {
    end_storage();
    for (auto it = impl_->images.rbegin(); it != impl_->images.rend(); ++it) detail::close_image(*it);
    detail::leave_context(&impl_->context);
}

void Host::end_storage() {
    detail::CallScope scope(&impl_->context);
    impl_->storage.end();
}

ServiceAnchor* Host::anchor() const { return &impl_->anchor; }
void* Host::second_anchor() const { return &impl_->second; }
Environment* Host::default_environment() const { return &impl_->context.default_environment->base; }

Environment* Host::create_environment(const EnvironmentConfig& config) {
    auto e = std::make_unique<detail::OwnedEnvironment>(config, impl_->storage.area());
    std::lock_guard lock(impl_->environments_mutex);
    impl_->environments.push_back(std::move(e));
    return &impl_->environments.back()->get()->base;
}

const std::vector<CatalogueEntry>& Host::catalogue() const { return impl_->catalogue; }

const CatalogueEntry* Host::find(std::string_view name, Kind kind) const {
    auto same = [&](const std::string& n) {
        return n.size() == name.size() && std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
                   return a == ((b >= 'a' && b <= 'z') ? char(b - 32) : b);
               });
    };
    for (const CatalogueEntry& e : impl_->catalogue) {
        if (e.kind == kind && same(e.name)) return &e;
    }
    return nullptr;
}

const CatalogueEntry& Host::entry(std::string_view name, Kind kind) const {
    if (const CatalogueEntry* e = find(name, kind)) return *e;
    throw Error(std::string(kind == Kind::format ? "unknown format " : "unknown informat ") + std::string(name) +
                (impl_->catalogue.empty() ? " (no plug-ins loaded)" : ""));
}

namespace {

[[noreturn, gnu::cold, gnu::noinline]] void field_out_of_range(const CatalogueEntry& entry, const char* field,
                                                               int value, int low) {
    throw Error(entry.name + ": " + field + " " + std::to_string(value) + " is out of range (" + std::to_string(low) +
                " to " + std::to_string(kMaxField) + ", or -1 for the default)");
}

// A request field: -1 for the default, else from `low` to kMaxField.
inline void check_field(const CatalogueEntry& entry, const char* field, int value, int low) {
    if (value == -1 || (value >= low && value <= kMaxField)) [[likely]]
        return;
    field_out_of_range(entry, field, value, low);
}

[[noreturn, gnu::cold, gnu::noinline]] void target_too_small(const CatalogueEntry& entry, std::size_t cap, int room) {
    throw Error(entry.name + ": the target holds " + std::to_string(cap) + " characters, the call needs " +
                std::to_string(room));
}

// One call: the block over the caller's target.
//
// The duration, interval and informat routines write at most the capacity.
// The date and time routines write the width whatever the capacity, so a
// host gives them a target of at least the width.
class Call {
public:
    Call(const CatalogueEntry& entry, const Request& r) {
        check_field(entry, "width", r.width, 1);
        check_field(entry, "decimals", r.decimals, 0);
        check_field(entry, "capacity", r.capacity, 0);
        block.width = r.width == -1 ? entry.default_width : r.width;
        block.decimals = r.decimals == -1 ? entry.default_decimals : r.decimals;
        block.capacity = r.capacity != -1               ? r.capacity
                         : entry.kind == Kind::format   ? block.width
                         : entry.name == "IS860VL"      ? 32
                                                        : 16;
        room = std::max({block.capacity, entry.shape == Shape::numeric ? block.width : 0, 0});
        block.environment = r.environment;
        block.flags = r.validate ? kValidateFlag : 0;
    }

    // The caller's target, checked for room.
    void target(const CatalogueEntry& entry, char* out, std::size_t cap) {
        if (cap < static_cast<std::size_t>(room)) [[unlikely]]
            target_too_small(entry, cap, room);
        block.output = out;
    }

    // The text, blank-padded to at least `at_least` characters (a packed
    // value is read as the 16 or 32 characters of a fixed-length host
    // variable), as a copy of exactly its size, so that a sanitizer sees any
    // read beyond it. The caller keeps the copy for the call.
    std::unique_ptr<char[]> text_input(std::string_view text, std::size_t at_least = 0) {
        const std::size_t size = std::max(text.size(), at_least);
        auto input = std::make_unique<char[]>(size);
        std::memset(input.get(), ' ', size);
        std::memcpy(input.get(), text.data(), text.size());
        block.value = input.get();
        block.input_length = static_cast<std::int32_t>(std::min<std::size_t>(size, INT32_MAX));
        return input;
    }

    Written finish(std::int32_t status) const {
        return Written{static_cast<std::size_t>(std::clamp(block.output_length, 0, room)), status};
    }

    FormatBlock block{};
    int room = 0;
};

[[noreturn, gnu::cold, gnu::noinline]] void refuse(const CatalogueEntry& entry, const char* what) {
    throw Error(entry.name + ": " + what);
}

inline void require(const CatalogueEntry& entry, bool ok, const char* what) {
    if (!ok || !entry.routine) [[unlikely]]
        refuse(entry, what);
}

// A call through a target of exactly its room, returned as a string.
template <class Into>
Result into_string(std::size_t room, Into into) {
    auto target = std::make_unique<char[]>(room);
    const Written w = into(target.get(), room);
    return Result{std::string(target.get(), w.length), w.status};
}

}  // namespace

std::size_t Host::room(const CatalogueEntry& entry, const Request& request) const {
    return static_cast<std::size_t>(Call(entry, request).room);
}

Written Host::format_to(const CatalogueEntry& entry, double value, const Request& request, char* out,
                        std::size_t cap) const {
    require(entry, entry.kind == Kind::format && entry.shape == Shape::numeric, "not a numeric format");
    detail::CallScope scope(&impl_->context);
    Call call(entry, request);
    call.target(entry, out, cap);
    call.block.value = &value;
    call.block.input_length = sizeof value;
    return call.finish(reinterpret_cast<FormatRoutine*>(entry.routine)(&call.block));
}

struct Host::NumericFormat::State {
    detail::Context* context;
    FormatRoutine* routine;
    FormatBlock block;  // the request's fields; the value and target are set per call
    int room;
    std::string name;
};

Host::NumericFormat::NumericFormat(std::unique_ptr<const State> state) : state_(std::move(state)) {}
Host::NumericFormat::NumericFormat(NumericFormat&&) noexcept = default;
Host::NumericFormat& Host::NumericFormat::operator=(NumericFormat&&) noexcept = default;
Host::NumericFormat::~NumericFormat() = default;

std::size_t Host::NumericFormat::room() const { return static_cast<std::size_t>(state_->room); }

Written Host::NumericFormat::format_to(double value, char* out, std::size_t cap) const {
    const State& s = *state_;
    if (cap < static_cast<std::size_t>(s.room)) [[unlikely]]
        throw Error(s.name + ": the target holds " + std::to_string(cap) + " characters, the call needs " +
                    std::to_string(s.room));
    detail::CallScope scope(s.context);
    FormatBlock block = s.block;
    block.value = &value;
    block.output = out;
    const std::int32_t status = s.routine(&block);
    return Written{static_cast<std::size_t>(std::clamp(block.output_length, 0, s.room)), status};
}

std::size_t Host::NumericFormat::format_lines(const double* values, std::size_t n, char* out,
                                              std::size_t cap) const {
    const State& s = *state_;
    const std::size_t line = static_cast<std::size_t>(s.room) + 1;
    if (n != 0 && cap / n < line) [[unlikely]]
        throw Error(s.name + ": the target holds " + std::to_string(cap) + " characters, " + std::to_string(n) +
                    " lines need " + std::to_string(line) + " each");
    // One scope for the batch: every call runs on this thread with the same
    // context current.
    detail::CallScope scope(s.context);
    char* at = out;
    for (std::size_t i = 0; i < n; ++i) {
        // A fresh block each time: a routine may change its fields during a call.
        FormatBlock block = s.block;
        block.value = values + i;
        block.output = at;
        s.routine(&block);
        at += std::clamp(block.output_length, 0, s.room);
        *at++ = '\n';
    }
    return static_cast<std::size_t>(at - out);
}

Host::NumericFormat Host::prepare_format(const CatalogueEntry& entry, const Request& request) const {
    require(entry, entry.kind == Kind::format && entry.shape == Shape::numeric, "not a numeric format");
    const Call call(entry, request);
    auto state = std::make_unique<NumericFormat::State>(NumericFormat::State{
        &impl_->context, reinterpret_cast<FormatRoutine*>(entry.routine), call.block, call.room, entry.name});
    state->block.input_length = sizeof(double);
    return NumericFormat(std::move(state));
}

Written Host::format_packed_to(const CatalogueEntry& entry, std::string_view hex, const Request& request, char* out,
                               std::size_t cap) const {
    bool interval = entry.shape == Shape::interval_format;
    require(entry, entry.kind == Kind::format && (interval || entry.shape == Shape::duration_format),
            "not a duration or interval format");
    detail::CallScope scope(&impl_->context);
    Call call(entry, request);
    call.target(entry, out, cap);
    const auto input = call.text_input(hex, interval ? 32 : 16);
    std::int32_t status =
        interval ? reinterpret_cast<IntervalFormatRoutine*>(entry.routine)(&call.block, request.options,
                                                                           request.dt_options)
                 : reinterpret_cast<DurationFormatRoutine*>(entry.routine)(&call.block, request.options);
    return call.finish(status);
}

Written Host::informat_to(const CatalogueEntry& entry, std::string_view text, const Request& request, char* out,
                          std::size_t cap) const {
    require(entry, entry.kind == Kind::informat && entry.shape == Shape::informat, "not an informat");
    detail::CallScope scope(&impl_->context);
    Call call(entry, request);
    call.target(entry, out, cap);
    // An informat's target starts blank, as a host's character variable does.
    if (call.room > 0) std::memset(out, ' ', static_cast<std::size_t>(call.room));
    const auto input = call.text_input(text);
    return call.finish(reinterpret_cast<InformatRoutine*>(entry.routine)(&call.block, request.mode));
}

Result Host::format(const CatalogueEntry& entry, double value, const Request& request) const {
    return into_string(room(entry, request),
                       [&](char* out, std::size_t cap) { return format_to(entry, value, request, out, cap); });
}

Result Host::format_packed(const CatalogueEntry& entry, std::string_view hex, const Request& request) const {
    return into_string(room(entry, request),
                       [&](char* out, std::size_t cap) { return format_packed_to(entry, hex, request, out, cap); });
}

Result Host::informat(const CatalogueEntry& entry, std::string_view text, const Request& request) const {
    return into_string(room(entry, request),
                       [&](char* out, std::size_t cap) { return informat_to(entry, text, request, out, cap); });
}

const char* problem_message(std::int32_t code) { return code == 0 ? "" : problem_text(code); }

}  // namespace isofmt
