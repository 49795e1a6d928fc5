// The state behind an isofmt::Host.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "context.h"
#include "environment.h"
#include "abi/anchor.h"
#include "images.h"
#include "isofmt/host.h"
#include "storage.h"

namespace isofmt {

struct Host::Impl {
    explicit Impl(HostConfig config);
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Adds the catalogue entries of one loaded module (loader.cpp).
    void register_module(void* handle, const std::string& path);

    detail::Context context;
    detail::BlockHeap heap;  // declared before everything that hands out its blocks
    detail::HeapAllocator registration_allocator = detail::make_allocator(&heap);
    detail::HeapAllocator release_allocator = detail::make_allocator(&heap);
    detail::HeapAllocator area_allocator = detail::make_allocator(&heap);
    detail::NamedStorage storage{&area_allocator.base};

    std::mutex environments_mutex;
    std::vector<std::unique_ptr<detail::OwnedEnvironment>> environments;  // [0] the default

    std::array<std::uint8_t, service_component::kCount> component_bytes{};
    struct SecondAnchor {
        char tag[16];
        Impl* host;
    } second{"isofmt host", this};
    ServiceAnchor anchor{};

    std::vector<detail::OpenImage> images;  // every plug-in loaded, closed in ~Host
    std::vector<std::string> modules; // descriptor names of the modules registered
    std::vector<CatalogueEntry> catalogue;
};

}  // namespace isofmt
