// The binding a host performs on each plug-in: image block, descriptor,
// registration calls, exported names, version stamp.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/anchor_override.h"
#include "host/plugin.h"
#include "isofmt/host.h"
#include "support/item_tables.h"

using testing_support::AnchorOverride;
using testing_support::Plugin;
using testing_support::RecordingAllocator;

namespace {

struct ModuleCase {
    const char* module;
    const char* descriptor;
    std::int64_t particular;
    int items;  // 0: dtclockf, which has no item table
};

const ModuleCase kModules[] = {
    {"dtbasic1", "pcn_DTBASIC1", 0x2050F015, 10},
    {"dtextnd1", "pcn_DTEXTND1", 0x2D826, 10},
    {"dtaltfm1", "pcn_DTALTFM1", 0x53EBC7, 7},
    {"dtclockf", "pcn_DTCLOCKF", 0x118736, 0},
};

// One plug-in bound to its own host, with the registration allocator
// replaced by a recording one. The plug-in is declared first so that it is
// unloaded last, after the host has run the end routines it registered.
struct Bound {
    explicit Bound(const char* module) : plugin(module) {
        routine = Plugin::descriptor(plugin.start(anchor(), host.second_anchor()))->routine;
    }
    // The end routines run while the anchor they were bound to still exists.
    ~Bound() { host.end_storage(); }

    ServiceAnchor* anchor() {
        override_.anchor()->registration_allocator = &allocator;
        return override_.anchor();
    }

    Plugin plugin;
    RecordingAllocator allocator;
    isofmt::Host host;
    AnchorOverride override_{*host.anchor()};
    ModuleRoutine* routine = nullptr;
};

class Registration : public ::testing::Test {
protected:
    isofmt::Host host;
};

TEST_F(Registration, ImageBlockAndDescriptor) {
    for (const auto& m : kModules) {
        SCOPED_TRACE(m.module);
        Plugin plugin(m.module);
        const ImageInformation* image = plugin.start(host.anchor(), host.second_anchor());
        ASSERT_EQ(image, plugin.symbol("vi_mcn"));
        EXPECT_EQ(std::memcmp(image->marker, "ZUQ_Image_Information=\0\0", 24), 0);
        EXPECT_EQ(image->magic, 0xB0BDEBEDu);
        EXPECT_EQ(image->zero, 0u);
        EXPECT_EQ(image->eight, 8);
        EXPECT_EQ(std::strlen(image->build_date), 11u);
        EXPECT_STREQ(image->tail, "001");
        EXPECT_NE(image->banner, nullptr);
        ASSERT_EQ(static_cast<const void*>(image->pcns), plugin.symbol("mcn_pcns"));
        EXPECT_EQ(image->pcns[1], nullptr);

        const ModuleDescriptor* d = Plugin::descriptor(image);
        EXPECT_EQ(static_cast<const void*>(d), plugin.symbol(m.descriptor));
        EXPECT_EQ(d->zero, 0);
        for (auto b : d->ff) EXPECT_EQ(b, 0xFF);
        EXPECT_EQ(d->size_a, 1024);
        EXPECT_EQ(d->size_b, 1024);
        EXPECT_STREQ(d->routine_name, m.module);
        EXPECT_EQ(reinterpret_cast<void*>(d->routine), plugin.symbol(m.module));
        EXPECT_EQ(d->one, 1);
        EXPECT_EQ(d->level, 9683);
        EXPECT_EQ(d->particular, m.particular);
        EXPECT_EQ(d->fifteen, 15);
    }
}

TEST_F(Registration, MainStoresTheAnchors) {
    Plugin plugin("dtextnd1");
    int second = 0;
    plugin.start(host.anchor(), &second);
    EXPECT_EQ(*plugin.get<ServiceAnchor*>("v_global_gcb_anchor"), host.anchor());
    EXPECT_EQ(*plugin.get<void*>("v_global_pidb_anchor"), &second);
    EXPECT_EQ(*plugin.get<void*>("Exported_RQHandle"), host.anchor()->handle);
}

TEST_F(Registration, ItemTablesAndRoutineTables) {
    for (const auto& m : kModules) {
        if (m.items == 0) continue;
        SCOPED_TRACE(m.module);
        Bound bound(m.module);
        auto& allocator = bound.allocator;
        ModuleRoutine* routine = bound.routine;

        const auto* items = static_cast<const ItemResult*>(routine(1));
        ASSERT_NE(items, nullptr);
        ASSERT_EQ(items->count, m.items);
        ASSERT_EQ(allocator.sizes.size(), 1u);
        EXPECT_EQ(allocator.sizes[0], 16u);
        EXPECT_EQ(allocator.flags[0], 0x2006u);
        int row = 0;
        for (const auto& r : testing_support::kIsoItemRows) {
            if (std::string(r.module) != m.module) continue;
            const FormatItem& it = items->items[row++];
            EXPECT_STREQ(it.name, r.name);
            EXPECT_EQ(it.min_width, r.min_width) << r.name;
            EXPECT_EQ(it.max_width, r.max_width) << r.name;
            EXPECT_EQ(it.default_width, r.default_width) << r.name;
            EXPECT_EQ(it.min_decimals, 0);
            EXPECT_EQ(it.default_decimals, 0);
            EXPECT_EQ(it.max_decimals, r.max_decimals) << r.name;
        }
        EXPECT_EQ(row, m.items);

        void* routines = routine(2);
        ASSERT_NE(routines, nullptr);
        ASSERT_EQ(allocator.sizes.size(), 2u);
        EXPECT_EQ(allocator.sizes[1], 8u + 8u * m.items);  // dtaltfm1: 64 bytes
        std::uint64_t word0;
        std::memcpy(&word0, routines, 8);
        EXPECT_EQ(word0, 0xABABABABABABABABull) << "word 0 is left as allocated";
        for (int i = 0; i < m.items; ++i) EXPECT_NE(routine_words(routines)[i], nullptr);

        for (int type : {0, 3, -1, 1000}) EXPECT_EQ(routine(type), nullptr) << type;
        EXPECT_EQ(allocator.sizes.size(), 2u) << "other types allocate nothing";
    }
}

TEST_F(Registration, RoutinesAreTheExportedFormats) {
    Bound bound("dtextnd1");
    const char* names[] = {"f8601da", "f8601tm", "f8601tz", "f8601dt", "f8601dz",
                           "f8601dn", "f8601lz", "f8601dx", "f8601lx", "f8601tx"};
    void* routines = bound.routine(2);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(reinterpret_cast<void*>(routine_words(routines)[i]), bound.plugin.symbol(names[i])) << names[i];
}

TEST_F(Registration, ClockModuleReturnsItsNineRoutinesWhateverTheType) {
    Bound bound("dtclockf");
    auto& allocator = bound.allocator;
    ModuleRoutine* routine = bound.routine;
    const char* names[] = {"zfmdtmm", "zfmdttm", "zfmhhmm", "zfmhour", "zfmdyam",
                           "zfmmmss", "zfmtime", "zfmtimm", "zfmtod"};
    for (int type : {0, 1, 2, 3, -7}) {
        void* table = routine(type);
        ASSERT_NE(table, nullptr) << type;
        EXPECT_EQ(allocator.sizes.back(), 80u);
        EXPECT_EQ(allocator.flags.back(), 0x2006u);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(reinterpret_cast<void*>(routine_words(table)[i]), bound.plugin.symbol(names[i])) << names[i];
    }
    allocator.refuse = true;
    EXPECT_EQ(routine(0), nullptr) << "a refused allocation gives null, no exit";
}

TEST_F(Registration, RefusedAllocationEndsTheRunWith1016) {
    Bound bound("dtbasic1");
    bound.allocator.refuse = true;
    EXPECT_EXIT(bound.routine(1), ::testing::ExitedWithCode(1016 & 0xff), "");
}

TEST_F(Registration, ExportsOnlyTheModulesOwnNames) {
    struct Expect {
        const char* module;
        const char* name;
        bool exported;
    };
    const Expect cases[] = {
        {"dtbasic1", "b8601dz", true},      {"dtbasic1", "zfmymds", true},
        {"dtbasic1", "rqbldtg1", true},     {"dtbasic1", "pcn_DTBASIC1", true},
        {"dtbasic1", "pcn_DTEXTND1", false}, {"dtbasic1", "f8601dz", false},
        {"dtbasic1", "wzstpos", false},     {"dtbasic1", "zfmtime", false},
        {"dtbasic1", "uwxn8601_init", false}, {"dtbasic1", "module_state_name", false},
        {"dtextnd1", "f8601tx", true},      {"dtextnd1", "b8601da", false},
        {"dtaltfm1", "f8601lz", true},      {"dtaltfm1", "f8601dx", false},
        {"dtaltfm1", "pcn_DTALTFM1", true}, {"dtclockf", "zfmtod", true},
        {"dtclockf", "zfmtime", true},      {"dtclockf", "zfmdate", false},
        {"dtclockf", "f8601da", false},     {"dtclockf", "n8601prob", false},
        {"dtbasic1", "is8601vli", true},    {"dtextnd1", "is8601duf", true},
        {"dtaltfm1", "is8601pdf", true},    {"dtclockf", "is8601vli", false},
        {"dtextnd1", "read_date_or_duration", false},
    };
    for (const auto& c : cases) {
        Plugin plugin(c.module);
        EXPECT_EQ(plugin.symbol(c.name) != nullptr, c.exported) << c.module << " " << c.name;
    }
}

TEST_F(Registration, VersionStampIsCopiedWhole) {
    Plugin plugin("dtclockf");
    std::uintptr_t words[27];
    std::memset(words, 0x5A, sizeof(words));
    plugin.get<void(void*)>("rqbldtg1")(words);
    EXPECT_STREQ(reinterpret_cast<const char*>(words[4]), "base");
    EXPECT_STREQ(reinterpret_cast<const char*>(words[9]), "version");
    EXPECT_STREQ(reinterpret_cast<const char*>(words[10]), "::");
    const std::string hotfix = reinterpret_cast<const char*>(words[12]);
    EXPECT_EQ(hotfix, "ZUQ_VERSION_HOTFIX_NUMBER=" + std::string(39, ' '));
    const std::string description = reinterpret_cast<const char*>(words[14]);
    EXPECT_EQ(description, "BLDTAG_IMAGE_DESCRIPTION=" + std::string(40, ' '));
    EXPECT_GT(words[3], 1700000000u) << "build time in seconds since 1970";
    for (int i = 16; i < 26; ++i) EXPECT_EQ(words[i], 0u) << i;
    EXPECT_EQ(words[26], 0x5A5A5A5A5A5A5A5Au) << "exactly 208 bytes";
}

}  // namespace
