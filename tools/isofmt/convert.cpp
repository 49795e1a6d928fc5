// The format and informat commands: one output line per value.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "abi/problems.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

// Writes the routine's text and, with --status, a TAB and the status: the
// status word for formats, the problem code and its message for informats.
// Lines are gathered and written in blocks; flush() writes what is held.
class LineWriter {
public:
    LineWriter(bool status, Kind kind) : status_(status), kind_(kind) { pending_.reserve(kBlock + 256); }
    ~LineWriter() { flush(); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void write(std::string_view text, std::int32_t status) {
        pending_.append(text);
        if (status_) {
            char word[16];
            if (kind_ == Kind::format) {
                std::snprintf(word, sizeof word, "\t0x%08x", static_cast<unsigned>(status));
                pending_ += word;
            } else {
                std::snprintf(word, sizeof word, "\t%d", static_cast<int>(status));
                pending_ += word;
                if (status != 0) (pending_ += '\t') += problem_text(status);
            }
        }
        pending_ += '\n';
        if (pending_.size() >= kBlock) flush();
    }

    void flush() {
        if (!pending_.empty()) std::fwrite(pending_.data(), 1, pending_.size(), stdout);
        pending_.clear();
        std::fflush(stdout);
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    bool status_;
    Kind kind_;
    std::string pending_;
};

// The lines of standard input, read in blocks; a line's CR LF end counts as
// LF.
class LineReader {
public:
    bool next(std::string_view& line) {
        for (;;) {
            const std::size_t end = held_.find('\n', at_);
            if (end != std::string::npos) {
                line = cut(at_, end);
                at_ = end + 1;
                return true;
            }
            held_.erase(0, at_);
            at_ = 0;
            const std::size_t had = held_.size();
            held_.resize(had + kBlock);
            const std::size_t got = std::fread(held_.data() + had, 1, kBlock, stdin);
            held_.resize(had + got);
            if (got == 0) {
                if (held_.empty()) return false;
                line = cut(0, held_.size());  // the last line, without its LF
                at_ = held_.size();
                return true;
            }
        }
    }

private:
    std::string_view cut(std::size_t from, std::size_t to) const {
        std::string_view l(held_.data() + from, to - from);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        return l;
    }

    static constexpr std::size_t kBlock = 1 << 16;
    std::string held_;
    std::size_t at_ = 0;
};

}  // namespace

int convert_command(const Host& host, const Settings& settings, Kind kind,
                    std::string_view format, const std::vector<std::string>& values) {
    const Selection selection = select_format(host, format, kind);
    if (values.empty())
        throw UsageError(std::string("no ") + (kind == Kind::format ? "VALUE" : "TEXT") +
                         " given (use - to read them from standard input)");
    const Request request = make_request(host, settings, selection);

    // Every argument is read before anything is written, so that a usage
    // error leaves standard output empty.
    if (selection.entry->shape == Shape::numeric)
        for (const std::string& v : values)
            if (v != "-") parse_value(host, v);

    // One target for every value: the numeric formats allocate nothing per value.
    std::vector<char> target(std::max<std::size_t>(host.room(*selection.entry, request), 1));
    auto convert = [&](std::string_view v) {
        return run_to(host, selection, request, v, target.data(), target.size());
    };
    LineWriter out(settings.status, selection.entry->kind);
    for (const std::string& v : values) {
        if (v != "-") {
            const Written w = convert(v);
            out.write(std::string_view(target.data(), w.length), w.status);
            continue;
        }
        LineReader in;
        std::string_view line;
        for (long number = 1; in.next(line); ++number) {
            try {
                const Written w = convert(line);
                out.write(std::string_view(target.data(), w.length), w.status);
            } catch (const UsageError& e) {
                out.flush();
                throw UsageError(std::string(e.what()) + " on line " + std::to_string(number) +
                                 " of standard input");
            }
        }
    }
    return 0;
}

}  // namespace isofmt::tool
