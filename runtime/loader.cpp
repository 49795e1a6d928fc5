// Loading a plug-in as the host does: mcn_main, the module descriptor, the
// module routine, and the catalogue entries it yields.
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "binding.h"
#include "host_impl.h"
#include "plugin_files.h"

namespace isofmt {
namespace {

using detail::Binding;

constexpr std::string_view kIsoModules[] = {"dtbasic1", "dtextnd1", "dtaltfm1"};
constexpr std::string_view kClockModule = "dtclockf";
constexpr std::string_view kDirectoryOrder[] = {"dtbasic1", "dtextnd1", "dtaltfm1", "dtclockf"};
constexpr std::int32_t kMaxItems = 4096;

[[noreturn]] void fail(const std::string& path, const std::string& what) { throw Error(path + ": " + what); }

std::filesystem::path plugin_file(const std::string& directory, std::string_view name) {
    return std::filesystem::path(directory) / (std::string(name) + ".so");
}

std::string fixed_text(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

CatalogueEntry catalogue_entry(const Binding& b, Kind kind, const std::string& module, Shape shape, void* routine) {
    CatalogueEntry e;
    e.name = b.name;
    e.kind = kind;
    e.module = module;
    e.min_width = b.min_width, e.max_width = b.max_width, e.default_width = b.default_width;
    e.max_decimals = b.max_decimals;
    e.shape = shape;
    e.routine = routine;
    return e;
}

}  // namespace

void Host::Impl::register_module(void* handle, const std::string& path) {
    auto* main = reinterpret_cast<detail::ModuleEntry*>(dlsym(handle, "mcn_main"));
    if (!main) fail(path, "no mcn_main");
    const ImageInformation* image = main(&anchor, &second);
    if (!image || !image->pcns || !image->pcns[0]) fail(path, "no module descriptor");
    const auto& d = *static_cast<const ModuleDescriptor*>(image->pcns[0]);
    std::string module = fixed_text(d.routine_name, sizeof d.routine_name);
    if (!d.routine) fail(path, "module " + module + " has no routine");
    if (std::find(modules.begin(), modules.end(), module) != modules.end()) {
        fail(path, "module " + module + " is already loaded");
    }

    std::vector<CatalogueEntry> added;
    if (std::find(std::begin(kIsoModules), std::end(kIsoModules), module) != std::end(kIsoModules)) {
        auto* items = static_cast<const ItemResult*>(d.routine(detail::kItemRequest));
        if (!items || !items->items || items->count < 0 || items->count > kMaxItems) {
            fail(path, "module " + module + " gave no item table");
        }
        const void* result = d.routine(detail::kRoutineRequest);
        if (!result) fail(path, "module " + module + " gave no routine table");
        for (std::int32_t i = 0; i < items->count; ++i) {
            const FormatItem& r = items->items[i];
            CatalogueEntry e;
            e.name = fixed_text(r.name, sizeof r.name);
            e.module = module;
            e.min_width = r.min_width, e.max_width = r.max_width, e.default_width = r.default_width;
            e.min_decimals = r.min_decimals, e.default_decimals = r.default_decimals;
            e.max_decimals = r.max_decimals;
            e.routine = reinterpret_cast<void*>(routine_words(result)[i]);
            added.push_back(std::move(e));
        }
    } else if (module == kClockModule) {
        const void* table = d.routine(0);
        if (!table) fail(path, "module " + module + " gave no routine table");
        for (int i = 0; i < detail::kClockRoutines; ++i) {
            void* routine = reinterpret_cast<void*>(routine_words(table)[i]);
            added.push_back(catalogue_entry(detail::kClockBindings[i], Kind::format, module, Shape::numeric, routine));
        }
    } else {
        fail(path, "unknown module " + module);
    }

    // The duration and interval routines, from the first module that has them.
    for (const auto& x : detail::kDurationBindings) {
        bool known = std::any_of(catalogue.begin(), catalogue.end(), [&](const CatalogueEntry& e) {
            return e.kind == x.kind && e.name == x.binding.name;
        });
        if (known) continue;
        if (void* routine = dlsym(handle, x.symbol)) {
            added.push_back(catalogue_entry(x.binding, x.kind, module, x.shape, routine));
        }
    }
    modules.push_back(module);
    catalogue.insert(catalogue.end(), added.begin(), added.end());
}

void Host::load_plugin(const std::string& path) {
    impl_->images.reserve(impl_->images.size() + 1);  // so that keeping the image cannot fail
    detail::OpenImage image = detail::open_private_image(path);
    // Kept open until ~Host even when registration fails: the module may
    // already have handed the host an end routine.
    impl_->images.push_back(image);
    detail::CallScope scope(&impl_->context);
    impl_->register_module(image.handle, path);
}

bool detail::holds_plugin(const std::string& directory) {
    std::error_code ec;
    return std::any_of(std::begin(kDirectoryOrder), std::end(kDirectoryOrder),
                       [&](std::string_view name) { return std::filesystem::exists(plugin_file(directory, name), ec); });
}

void Host::load_directory(const std::string& directory) {
    std::error_code ec;
    const auto status = std::filesystem::status(directory, ec);
    if (!std::filesystem::exists(status)) throw Error(directory + ": no such directory");
    if (!std::filesystem::is_directory(status)) throw Error(directory + ": not a directory");
    if (!detail::holds_plugin(directory))
        throw Error("no plug-ins in " + directory + " (dtbasic1.so, dtextnd1.so, dtaltfm1.so, dtclockf.so)");
    for (std::string_view name : kDirectoryOrder) {
        const std::filesystem::path p = plugin_file(directory, name);
        if (std::filesystem::exists(p, ec)) load_plugin(p.string());
    }
}

}  // namespace isofmt
