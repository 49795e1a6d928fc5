// Opens a built plug-in the way a host does, for tests that look at the
// binding itself rather than at the formats.
#pragma once

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "abi/image.h"
#include "host/module.h"

namespace testing_support {

class Plugin {
public:
    explicit Plugin(const std::string& module)
        : handle_(dlopen((std::string(ISOFMT_PLUGIN_DIR) + "/" + module + ".so").c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (handle_ == nullptr) throw std::runtime_error(dlerror());
    }
    ~Plugin() { dlclose(handle_); }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    void* symbol(const char* name) const { return dlsym(handle_, name); }

    template <class T>
    T* get(const char* name) const {
        void* p = symbol(name);
        if (p == nullptr) throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<T*>(p);
    }

    const ImageInformation* start(ServiceAnchor* anchor, void* second_anchor) const {
        using Main = const ImageInformation*(ServiceAnchor*, void*);
        return get<Main>("mcn_main")(anchor, second_anchor);
    }

    static const ModuleDescriptor* descriptor(const ImageInformation* image) {
        return static_cast<const ModuleDescriptor*>(image->pcns[0]);
    }

private:
    void* handle_;
};

}  // namespace testing_support
