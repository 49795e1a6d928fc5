// The Host: builds the anchor, owns environments, storage and plug-ins, and
// calls one routine per value.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

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

// A request field: -1 for the default, else from `low` to kMaxField.
void check_field(const CatalogueEntry& entry, const char* field, int value, int low) {
    if (value == -1 || (value >= low && value <= kMaxField)) return;
    throw Error(entry.name + ": " + field + " " + std::to_string(value) + " is out of range (" + std::to_string(low) +
                " to " + std::to_string(kMaxField) + ", or -1 for the default)");
}

// One call: the block, a target of exactly the room the routine may use (so
// that a sanitizer sees any write beyond it) and, for text input, a copy of
// the text of exactly its size (any read beyond it is seen as well).
//
// The duration, interval and informat routines write at most the capacity.
// The date and time routines write the width whatever the capacity, so a
// host gives them a target of at least the width.
class Call {
public:
    Call(const CatalogueEntry& entry, const Request& r, Kind kind) {
        check_field(entry, "width", r.width, 1);
        check_field(entry, "decimals", r.decimals, 0);
        check_field(entry, "capacity", r.capacity, 0);
        width_ = r.width == -1 ? entry.default_width : r.width;
        int decimals = r.decimals == -1 ? entry.default_decimals : r.decimals;
        capacity_ = r.capacity == -1 ? (kind == Kind::format ? width_ : entry.name == "IS860VL" ? 32 : 16)
                                     : r.capacity;
        room_ = std::max(capacity_, entry.shape == Shape::numeric ? width_ : 0);
        std::size_t room = room_ > 0 ? static_cast<std::size_t>(room_) : 0;
        output_ = std::make_unique<char[]>(room);
        // An informat's target starts blank, as a host's character variable does.
        std::memset(output_.get(), kind == Kind::informat ? ' ' : 0, room);
        block.width = width_;
        block.decimals = decimals;
        block.output = output_.get();
        block.capacity = capacity_;
        block.environment = r.environment;
        block.flags = r.validate ? kValidateFlag : 0;
    }

    // The text, blank-padded to at least `at_least` characters: a packed value
    // is read as the 16 or 32 characters of a fixed-length host variable.
    void text_input(std::string_view text, std::size_t at_least = 0) {
        const std::size_t size = std::max(text.size(), at_least);
        input_ = std::make_unique<char[]>(size);
        std::memset(input_.get(), ' ', size);
        std::memcpy(input_.get(), text.data(), text.size());
        block.value = input_.get();
        block.input_length = static_cast<std::int32_t>(std::min<std::size_t>(size, INT32_MAX));
    }

    Result finish(std::int32_t status) const {
        int n = std::clamp(block.output_length, 0, std::max(room_, 0));
        return Result{std::string(output_.get(), static_cast<std::size_t>(n)), status};
    }

    FormatBlock block{};

private:
    int width_ = 0, capacity_ = 0, room_ = 0;
    std::unique_ptr<char[]> output_, input_;
};

void require(const CatalogueEntry& entry, bool ok, const char* what) {
    if (!ok || !entry.routine) throw Error(entry.name + ": " + what);
}

}  // namespace

Result Host::format(const CatalogueEntry& entry, double value, const Request& request) const {
    require(entry, entry.kind == Kind::format && entry.shape == Shape::numeric, "not a numeric format");
    detail::CallScope scope(&impl_->context);
    Call call(entry, request, Kind::format);
    call.block.value = &value;
    call.block.input_length = sizeof value;
    return call.finish(reinterpret_cast<FormatRoutine*>(entry.routine)(&call.block));
}

Result Host::format_packed(const CatalogueEntry& entry, std::string_view hex, const Request& request) const {
    bool interval = entry.shape == Shape::interval_format;
    require(entry, entry.kind == Kind::format && (interval || entry.shape == Shape::duration_format),
            "not a duration or interval format");
    detail::CallScope scope(&impl_->context);
    Call call(entry, request, Kind::format);
    call.text_input(hex, interval ? 32 : 16);
    std::int32_t status =
        interval ? reinterpret_cast<IntervalFormatRoutine*>(entry.routine)(&call.block, request.options,
                                                                           request.dt_options)
                 : reinterpret_cast<DurationFormatRoutine*>(entry.routine)(&call.block, request.options);
    return call.finish(status);
}

Result Host::informat(const CatalogueEntry& entry, std::string_view text, const Request& request) const {
    require(entry, entry.kind == Kind::informat && entry.shape == Shape::informat, "not an informat");
    detail::CallScope scope(&impl_->context);
    Call call(entry, request, Kind::informat);
    call.text_input(text);
    return call.finish(reinterpret_cast<InformatRoutine*>(entry.routine)(&call.block, request.mode));
}

const char* problem_message(std::int32_t code) { return code == 0 ? "" : problem_text(code); }

}  // namespace isofmt
