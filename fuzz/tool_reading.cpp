// Fuzzes the tool's reading of its arguments over the loaded plug-ins: the
// FORMAT name NAME[W][.D], values (numbers, missing notations, ISO 8601
// literals), numeric option words, and one value run through the selection.
// Each text sits between guard bytes. A text is either accepted or refused
// with a usage error; an accepted FORMAT reads back from the text the tool
// shows for it, and an accepted word from its decimal text.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "fuzz_support.h"
#include "isofmt/tool.h"  // tools/isofmt

namespace {

using isofmt::tool::UsageError;

isofmt::Host* host = nullptr;

std::string_view take_text(fuzz_support::Input& in, fuzz_support::Guarded& text) {
    std::memcpy(text.data(), in.data, text.size());
    in.data += text.size();
    in.size -= text.size();
    return std::string_view(text.data(), text.size());
}

void same_selection(const isofmt::Selection& a, const isofmt::Selection& b) {
    if (a.entry != b.entry || a.width != b.width || a.decimals != b.decimals) std::abort();
}

void select(std::string_view text, isofmt::Kind kind) {
    isofmt::Selection s;
    try {
        s = isofmt::tool::select_format(*host, text, kind);
    } catch (const UsageError&) {
        return;
    }
    if (!s.entry || s.entry->kind != kind) std::abort();
    if (s.width < 1 || s.width > isofmt::kMaxField || s.decimals < 0 || s.decimals > isofmt::kMaxField)
        std::abort();
    same_selection(s, isofmt::tool::select_format(*host, isofmt::tool::format_text(s), kind));
}

// A value as a date, a datetime and a duration format read it: accepted
// the same way twice.
void value(std::string_view text) {
    static const char* const kFormats[] = {"E8601DA", "E8601DT", "IS860DU", "IS860VL"};
    for (const char* name : kFormats) {
        const isofmt::CatalogueEntry* e = host->find(name, isofmt::Kind::format);
        isofmt::tool::FormatValue v, again;
        std::string problem;
        if (!isofmt::tool::read_value(*e, text, {}, v, problem)) continue;
        if (!isofmt::tool::read_value(*e, text, {}, again, problem)) std::abort();
        if (std::memcmp(&v.number, &again.number, sizeof v.number) != 0 || v.packed != again.packed) std::abort();
    }
}

void word(std::string_view text) {
    std::int32_t w = 0;
    try {
        w = isofmt::tool::parse_word("--options", text);
    } catch (const UsageError&) {
        return;
    }
    if (isofmt::tool::parse_word("--options", std::to_string(w)) != w) std::abort();
}

// A FORMAT and a value through the tool's request and run.
void run(std::string_view format, std::string_view text, isofmt::Kind kind, std::uint8_t flags) {
    isofmt::Selection s;
    try {
        s = isofmt::tool::select_format(*host, format, kind);
    } catch (const UsageError&) {
        return;
    }
    isofmt::tool::Settings settings;
    settings.validate = flags & 1;
    settings.capacity = flags & 2 ? static_cast<int>(flags >> 2) : -1;
    const isofmt::Request request = isofmt::tool::make_request(*host, settings, s);
    try {
        const isofmt::Result r = isofmt::tool::run(*host, s, request, text);
        const int room = std::max({s.width, settings.capacity, 32});
        if (r.text.size() > static_cast<std::size_t>(room)) std::abort();
    } catch (const UsageError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    host = &fuzz_support::bind_host(fuzz_support::quiet_config());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::Input in{data, size};
    const std::uint8_t what = in.take<std::uint8_t>();
    const isofmt::Kind kind = what & 0x10 ? isofmt::Kind::informat : isofmt::Kind::format;
    switch (what % 5) {
        case 0: {
            fuzz_support::Guarded text(static_cast<std::ptrdiff_t>(in.size));
            select(take_text(in, text), kind);
            text.check();
            break;
        }
        case 1: {
            fuzz_support::Guarded text(static_cast<std::ptrdiff_t>(in.size));
            value(take_text(in, text));
            text.check();
            break;
        }
        case 2: {
            fuzz_support::Guarded text(static_cast<std::ptrdiff_t>(in.size));
            word(take_text(in, text));
            text.check();
            break;
        }
        default: {
            const std::uint8_t flags = in.take<std::uint8_t>();
            const std::size_t split = std::min<std::size_t>(in.take<std::uint8_t>() % 16, in.size);
            fuzz_support::Guarded format(static_cast<std::ptrdiff_t>(split));
            const std::string_view f = take_text(in, format);
            fuzz_support::Guarded text(static_cast<std::ptrdiff_t>(in.size));
            run(f, take_text(in, text), kind, flags);
            format.check();
            text.check();
            break;
        }
    }
    return 0;
}
