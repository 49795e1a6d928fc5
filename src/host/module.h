// Module entry and registration: what every module exports for the host's
// binding, and the pieces each module source assembles from.
#pragma once

#include <cstdint>

#include "abi/anchor.h"
#include "abi/image.h"

extern "C" {
// Defined by each module source.
extern const ImageInformation vi_mcn;

const ImageInformation* mcn_main(ServiceAnchor* anchor, void* second_anchor);
void himodcn();
void* xfmfent(std::int32_t type, std::int32_t count, const FormatItem* items,
              FormatRoutine* const* routines);
void rqbldtg1(void* destination);
}

// The registration calls of an ISO module: type 1 gives the item result,
// type 2 sets up the module state and gives the routine result.
void* iso_module_routine(std::int32_t type, const FormatItem* items,
                         FormatRoutine* const* routines, int count);

// Allocation flags of the registration results.
inline constexpr std::uint32_t kRegistrationFlags = 0x2006;
inline constexpr std::int32_t kExitNoMemory = 1016;

// Building blocks for the module sources.
inline constexpr char kBanner[] =
    "isofmt date and time formats - ISO 8601 and classic clock layouts";

constexpr FormatItem format_item(const char* name, int min_w, int max_w, int def_w, int max_d) {
    FormatItem it{};
    for (int i = 0; name[i] != 0 && i < 37; ++i) it.name[i] = name[i];
    it.min_width = static_cast<std::int16_t>(min_w);
    it.max_width = static_cast<std::int16_t>(max_w);
    it.default_width = static_cast<std::int16_t>(def_w);
    it.max_decimals = static_cast<std::int16_t>(max_d);
    return it;
}

constexpr ModuleDescriptor module_descriptor(const char* routine_name, ModuleRoutine* routine,
                                             std::int64_t particular) {
    ModuleDescriptor d{};
    for (auto& b : d.ff) b = 0xFF;
    d.size_a = 1024;
    d.size_b = 1024;
    for (int i = 0; routine_name[i] != 0 && i < 15; ++i) d.routine_name[i] = routine_name[i];
    d.routine = routine;
    d.one = 1;
    d.level = 9683;
    d.particular = particular;
    d.fifteen = 15;
    return d;
}

constexpr ImageInformation image_information(const void* const* pcns) {
    ImageInformation v{};
    constexpr char marker[] = "ZUQ_Image_Information=";
    for (int i = 0; marker[i] != 0; ++i) v.marker[i] = marker[i];
    v.magic = kImageMagic;
    v.eight = 8;
    constexpr char short_release[] = "1.00";
    constexpr char long_release[] = "isofmt 1.0.0    ";
    for (int i = 0; short_release[i] != 0; ++i) v.short_release[i] = short_release[i];
    for (int i = 0; long_release[i] != 0; ++i) v.long_release[i] = long_release[i];
    constexpr char date[] = __DATE__;  // "Mmm dd yyyy", the day right-aligned in two places
    for (int i = 0; date[i] != 0; ++i) v.build_date[i] = date[i];
    v.pcns = pcns;
    v.banner = kBanner;
    v.tail[0] = '0';
    v.tail[1] = '0';
    v.tail[2] = '1';
    return v;
}

// Declares a module's exported descriptor list, descriptor and image block.
#define ISOFMT_MODULE_IMAGE(DESCRIPTOR, ROUTINE, PARTICULAR)                             \
    extern "C" {                                                                          \
    extern const ModuleDescriptor DESCRIPTOR;                                             \
    extern const void* const mcn_pcns[2];                                                 \
    const ModuleDescriptor DESCRIPTOR = module_descriptor(#ROUTINE, ROUTINE, PARTICULAR); \
    const void* const mcn_pcns[2] = {&DESCRIPTOR, nullptr};                               \
    const ImageInformation vi_mcn = image_information(mcn_pcns);                          \
    }
