// Named storage, the allocators, the DEBUG option, the log and the end of
// the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "service_host.h"

namespace {

using runtime_test::ServiceHost;

constexpr std::int32_t kNotFound = static_cast<std::int32_t>(0x80008026u);

void* record_at(NamedPageTable pages, std::int32_t token) {
    return pages[kFirstPage + token / kPageEntries][token % kPageEntries];
}

std::int32_t lookup(NamedArea* area, const std::string& name, std::int32_t* token, NamedPageTable* pages) {
    return hostcall::xytngl(area, 0, name.data(), static_cast<std::int32_t>(name.size()), token, pages);
}

std::atomic<int> g_ends{0};
ServiceAnchor* g_anchor = nullptr;

// What a module's end routine does: find its record, hand it back.
std::int32_t end_routine() {
    ++g_ends;
    NamedArea* area = g_anchor->default_environment->named_storage;
    std::int32_t token;
    NamedPageTable pages;
    if (lookup(area, "__REC", &token, &pages) == 0 && record_at(pages, token)) {
        Allocator* release = g_anchor->release_allocator;
        release->vector->release(release, record_at(pages, token), 0, 4);
    }
    return 0;
}

TEST(NamedStorage, RecordsAreFoundByNameUntilTheStorageEnds) {
    ServiceHost h;
    g_anchor = h.host.anchor();
    g_ends = 0;
    NamedArea* area = h.host.default_environment()->named_storage;
    ASSERT_NE(area, nullptr);
    std::int32_t token = -1;
    NamedPageTable pages = nullptr;
    EXPECT_EQ(lookup(area, "__REC", &token, &pages), kNotFound);

    void* handle = nullptr;
    EXPECT_EQ(hostcall::vir2g(end_routine, &handle, area, h.host.second_anchor()), 0);
    EXPECT_NE(handle, nullptr);
    std::int32_t created = -1;
    EXPECT_EQ(hostcall::wtrscrt(area, &created, 0, handle), 0);
    EXPECT_EQ(hostcall::xytnsl(area, 1, "__REC", 5, created), 0);
    auto* record = static_cast<unsigned char*>(area->allocator->vector->allocate(area->allocator, 34, 0x3006));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::count(record, record + 34, 0), 34);  // zeroed
    EXPECT_EQ(hostcall::wtrsset(area, created, record), 0);

    ASSERT_EQ(lookup(area, "__REC", &token, &pages), 0);
    EXPECT_EQ(token, created);
    EXPECT_EQ(record_at(pages, token), record);
    EXPECT_EQ(lookup(area, "__RE", &token, &pages), kNotFound);
    EXPECT_EQ(hostcall::xytngl(area, 0, "__RECORD", 5, &token, &pages), 0);  // the length counts, not a NUL
    EXPECT_EQ(hostcall::xytngl(nullptr, 0, "__REC", 5, &token, &pages), kNotFound);

    // Every environment of the host shares the storage.
    EXPECT_EQ(h.host.create_environment({})->named_storage, area);

    h.host.end_storage();
    EXPECT_EQ(g_ends, 1);
    EXPECT_EQ(lookup(area, "__REC", &token, &pages), kNotFound);  // nothing reaches the freed record
    h.host.end_storage();
    EXPECT_EQ(g_ends, 1);
}

TEST(NamedStorage, LookupsRunWhileSlotsAndNamesAreAdded) {
    ServiceHost h;
    NamedArea* area = h.host.default_environment()->named_storage;
    std::int32_t token;
    int shared = 7, late = 42;
    hostcall::wtrscrt(area, &token, 0, nullptr);
    hostcall::wtrsset(area, token, &shared);
    hostcall::xytnsl(area, 1, "SHARED", 6, token);
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                std::int32_t found;
                NamedPageTable pages;
                if (lookup(area, "SHARED", &found, &pages) != 0 || record_at(pages, found) != &shared) ++wrong;
            }
        });
    }
    // Slots onto a second page, names bound meanwhile.
    for (int i = 0; i <= kPageEntries + 4; ++i) {
        ASSERT_EQ(hostcall::wtrscrt(area, &token, 0, nullptr), 0);
        if (i % 64 == 0) hostcall::xytnsl(area, 1, "NAME", 4, token);
    }
    for (auto& r : readers) r.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(hostcall::wtrsset(area, token, &late), 0);
    EXPECT_EQ(hostcall::xytnsl(area, 1, "LATE", 4, token), 0);
    std::int32_t found = -1;
    NamedPageTable pages = nullptr;
    ASSERT_EQ(lookup(area, "LATE", &found, &pages), 0);
    EXPECT_EQ(found, kPageEntries + 5);
    EXPECT_EQ(record_at(pages, found), &late);
    EXPECT_NE(hostcall::wtrsset(area, token + 1, &late), 0);  // no such slot
    EXPECT_NE(hostcall::xytnsl(area, 1, "NONE", 4, -1), 0);
}

TEST(Allocators, TheHostOwnsWhatTheModulesAreGiven) {
    ServiceHost h;
    Allocator* reg = h.host.anchor()->registration_allocator;
    Allocator* release = h.host.anchor()->release_allocator;
    // A registration result, never freed by the module: the host frees it
    // when it goes (the leak checker would say otherwise).
    void* kept = reg->vector->allocate(reg, 80, 0x2006);
    ASSERT_NE(kept, nullptr);
    void* freed = reg->vector->allocate(reg, 16, 0x2006);
    release->vector->release(release, freed, 0, 4);
    int local = 0;
    release->vector->release(release, &local, 0, 4);  // not the host's: refused, logged
    ASSERT_EQ(h.log.size(), 1u);
    EXPECT_NE(h.log[0].find("did not allocate"), std::string::npos);
}

TEST(OptionsAndLog, DebugTextAndOneLinePerEntry) {
    {
        ServiceHost h(runtime_test::with_debug("trace,n8601diag"));
        std::int32_t status = -1;
        EXPECT_STREQ(hostcall::xoptcgt("DEBUG", &status), "trace,n8601diag");
        EXPECT_EQ(status, 0);
        EXPECT_NE((hostcall::xoptcgt("OTHER", &status), status), 0);
    }
    ServiceHost h;
    std::int32_t status = 0;
    EXPECT_NE(hostcall::xoptcgt("DEBUG", &status), nullptr);
    EXPECT_NE(status, 0);

    hostcall::xpslog("Problem with: '%*s': %s.", 4, "P1Y", "an element was out of range");
    hostcall::xpslog("ERROR: length %d but 32 is needed.\n", 31);
    hostcall::xpslog("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(h.log, (std::vector<std::string>{"Problem with: ' P1Y': an element was out of range.",
                                               "ERROR: length 31 but 32 is needed.", std::string(1023, 'x')}));
}

TEST(ExitDeathTest, EndsTheRunWithTheLowByteOfTheCode) {
    EXPECT_EXIT(
        {
            isofmt::Host host;  // logs to stderr
            v_global_gcb_anchor = host.anchor();
            hostcall::xexit(1016, 0);
        },
        testing::ExitedWithCode(1016 & 0xff), "1016");
}

}  // namespace
