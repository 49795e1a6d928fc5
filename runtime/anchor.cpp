#include "anchor.h"

#include <array>
#include <type_traits>
#include <vector>

#include "abi/anchor.h"
#include "services.h"

namespace isofmt::detail {
namespace {

// Every vector has the same number of slots, so a reader may scan any
// slot below kSlots of an installed component.
constexpr int kSlots = 512;
#define ISOFMT_SERVICE(name, comp, slot, ...) \
    static_assert(comp >= 0 && comp < service_component::kCount && slot >= 0 && slot < kSlots);
#include "abi/services.def"
#undef ISOFMT_SERVICE

class Directory {
public:
    Directory() {
        // Each service in the slot the table gives it; a service whose type
        // differs from the table's signature does not compile.
#define ISOFMT_SERVICE(name, comp, slot, ...)                                           \
    static_assert(std::is_same_v<decltype(service::name), __VA_ARGS__>,                 \
                  "service " #name " does not have the signature of services.def"); \
    install(comp, slot, reinterpret_cast<const void*>(&service::name));
#include "abi/services.def"
#undef ISOFMT_SERVICE
        for (int c = 0; c < service_component::kCount; ++c) {
            if (!vectors_[c].empty()) entries_[c] = vectors_[c].data();
        }
    }

    const void* const* const* entries() const { return entries_.data(); }

private:
    void install(int comp, int slot, const void* routine) {
        auto& v = vectors_[comp];
        if (v.empty()) v.assign(kSlots, nullptr);
        v[slot] = routine;
    }

    std::array<std::vector<const void*>, service_component::kCount> vectors_;
    std::array<const void* const*, service_component::kCount> entries_{};
};

constexpr std::array<std::uint8_t, 256> make_upcase() {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
    return t;
}

constexpr std::array<std::uint8_t, 256> make_char_class() {
    std::array<std::uint8_t, 256> t{};
    for (int i = '0'; i <= '9'; ++i) t[i] = kCharDigit;
    return t;
}

constexpr std::array<std::uint8_t, 256> kUpcase = make_upcase();
constexpr std::array<std::uint8_t, 256> kCharClass = make_char_class();

}  // namespace

const void* const* const* service_directory() {
    static const Directory directory;
    return directory.entries();
}

const std::uint8_t* upcase_table() { return kUpcase.data(); }
const std::uint8_t* char_class_table() { return kCharClass.data(); }

}  // namespace isofmt::detail
