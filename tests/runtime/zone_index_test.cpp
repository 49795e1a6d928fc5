// The host's table look-ups of a zone's offset, at an instant and at a
// local time, against the time-zone library they were built from: at, just
// before and just after every transition up to 2200 (on both clocks), and at
// seeded times from 1700 to 2300.
#include <absl/time/civil_time.h>
#include <absl/time/time.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "service_host.h"

namespace {

using runtime_test::ServiceHost;

constexpr std::int64_t kEpoch1960 = -315619200;  // 1960-01-01 in Unix seconds

TEST(ZoneIndex, AgreesWithTheLibraryAroundEveryTransition) {
    ServiceHost h;
    std::mt19937_64 rng(2200);
    for (const char* name : {"America/New_York", "Europe/London", "Europe/Dublin", "Australia/Lord_Howe",
                             "Pacific/Apia", "Pacific/Kiritimati", "Asia/Kolkata", "America/St_Johns",
                             "Africa/Casablanca", "Antarctica/Troll", "America/Sao_Paulo", "Asia/Tehran"}) {
        SCOPED_TRACE(name);
        absl::TimeZone tz;
        ASSERT_TRUE(absl::LoadTimeZone(name, &tz));
        Environment* env = h.host.create_environment({.time_zone = name});
        auto expect_offset = [&](std::int64_t unix_seconds) {
            const std::int64_t raw = tz.At(absl::FromUnixSeconds(unix_seconds)).offset;
            const double got = hostcall::xkgtzof4(env, 1, static_cast<double>(unix_seconds - kEpoch1960));
            ASSERT_EQ(got, static_cast<double>(raw - raw % 60)) << unix_seconds;
        };
        std::vector<std::int64_t> instants;
        absl::Time t = absl::InfinitePast();
        absl::TimeZone::CivilTransition transition;
        while (tz.NextTransition(t, &transition)) {
            const absl::Time next = tz.At(transition.to).trans;
            if (next <= t || absl::ToUnixSeconds(next) > 7258118400) break;
            t = next;
            instants.push_back(absl::ToUnixSeconds(next));
        }
        // A local time: the offset before a transition through its gap or
        // repeated hour, the earlier offset when ambiguous.
        auto expect_local_offset = [&](std::int64_t local_seconds) {
            const absl::TimeZone::TimeInfo info = tz.At(absl::CivilSecond(1970, 1, 1) + local_seconds);
            const std::int64_t raw = local_seconds - absl::ToUnixSeconds(info.pre);
            const double got = hostcall::xkgtzof4(env, 0, static_cast<double>(local_seconds - kEpoch1960));
            ASSERT_EQ(got, static_cast<double>(raw - raw % 60)) << local_seconds;
        };
        ASSERT_FALSE(instants.empty());
        for (std::int64_t at : instants) {
            for (std::int64_t delta : {-86400, -3601, -1, 0, 1, 3600, 86400}) expect_offset(at + delta);
            const std::int64_t before = tz.At(absl::FromUnixSeconds(at - 1)).offset;
            const std::int64_t after = tz.At(absl::FromUnixSeconds(at)).offset;
            for (std::int64_t wall : {at + before, at + after})
                for (std::int64_t delta : {-3601, -61, -1, 0, 1, 59, 60, 3600}) expect_local_offset(wall + delta);
            if (HasFatalFailure()) return;
        }
        std::uniform_int_distribution<std::int64_t> any(-8520336000, 10413792000);  // 1700 to 2300
        for (int i = 0; i < 20000; ++i) {
            expect_offset(any(rng));
            expect_local_offset(any(rng));
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
