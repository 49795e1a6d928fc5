#include "environment.h"

#include <array>

#include "context.h"

namespace isofmt::detail {
namespace {

// National-language strings, each a length byte and its text. Only the
// month abbreviations are filled in; every other entry is empty.
constexpr int kStringCount = kMonthLastEntry + 1;

constexpr std::array<const char*, kStringCount> make_strings() {
    std::array<const char*, kStringCount> s{};
    for (auto& e : s) e = "";
    constexpr const char* months[12] = {"\003JAN", "\003FEB", "\003MAR", "\003APR", "\003MAY", "\003JUN",
                                        "\003JUL", "\003AUG", "\003SEP", "\003OCT", "\003NOV", "\003DEC"};
    for (int m = 0; m < 12; ++m) s[kMonthFirstEntry + m] = months[m];
    return s;
}

constexpr std::array<const char*, kStringCount> kStrings = make_strings();

}  // namespace

OwnedEnvironment::OwnedEnvironment(const EnvironmentConfig& config, NamedArea* named_storage)
    : data_{Zone::parse(config.time_zone), config.missing_text} {
    // The list always starts with an object that has no table, so that a
    // reader must walk it; the month table follows when asked for.
    data_.languages[1].strings = kStrings.data();
    data_.languages[1].string_count = kStringCount;
    if (config.month_table) data_.languages[0].next = &data_.languages[1];
    environment_.base.named_storage = config.named_storage ? named_storage : nullptr;
    environment_.base.languages = &data_.languages[0];
    environment_.data = &data_;
}

const HostEnvironment* host_environment(const Environment* environment) {
    if (environment) return reinterpret_cast<const HostEnvironment*>(environment);
    Context* c = current_context();
    return c ? c->default_environment : nullptr;
}

}  // namespace isofmt::detail
