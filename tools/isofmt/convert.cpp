// The format and informat commands: one output line per value, from the
// arguments or streamed from standard input.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "abi/problems.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

// Writes the routine's text and, with --status, a TAB and the status: the
// status word for formats, the problem code and its message for informats.
// Lines are gathered and written in blocks (every write checked); flush()
// writes what is held.
class LineWriter {
public:
    LineWriter(bool status, Kind kind) : status_(status), kind_(kind) { pending_.reserve(kBlock + 256); }
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
        write_out(pending_);
        pending_.clear();
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    bool status_;
    Kind kind_;
    std::string pending_;
};

// The lines of standard input, read in blocks; a line's CR LF end counts as
// LF. A read error throws IoError.
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
            errno = 0;
            const std::size_t got = std::fread(held_.data() + had, 1, kBlock, stdin);
            held_.resize(had + got);
            if (got == 0) {
                if (std::ferror(stdin))
                    throw IoError(std::string("cannot read standard input: ") + std::strerror(errno ? errno : EIO));
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

// One run of the command over its values, all rendered into one target
// (the numeric formats allocate nothing per value).
class Conversion {
public:
    Conversion(const Host& host, const Settings& settings, const Selection& selection)
        : host_(host),
          settings_(settings),
          entry_(*selection.entry),
          request_(make_request(host, settings, selection)),
          rules_{settings.environment.missing_text},
          target_(std::max<std::size_t>(host.room(entry_, request_), 1)),
          out_(settings.status, entry_.kind) {}

    // One value; `where` names it in messages ("value 2", "standard input, line 7").
    void convert(std::string_view text, const std::string& where) {
        if (entry_.kind == Kind::informat) {
            const Written w = host_.informat_to(entry_, text, request_, target_.data(), target_.size());
            write(w);
            if (w.status != 0 && settings_.keep_going)
                report(where, "problem " + std::to_string(w.status) + " with " + quote(text) + ": " +
                                  problem_text(w.status));
            return;
        }
        if (!read_value(entry_, text, rules_, value_, problem_)) {
            if (!settings_.keep_going) throw UsageError(where.empty() ? problem_ : where + ": " + problem_);
            report(where, problem_);
            value_ = missing_value(entry_);
        }
        write(entry_.shape == Shape::numeric
                  ? host_.format_to(entry_, value_.number, request_, target_.data(), target_.size())
                  : host_.format_packed_to(entry_, value_.packed, request_, target_.data(), target_.size()));
    }

    void convert_standard_input() {
        LineReader in;
        std::string_view line;
        while (in.next(line)) convert(line, "standard input, line " + std::to_string(++line_number_));
    }

    void flush() { out_.flush(); }
    bool all_read() const { return all_read_; }

private:
    void write(const Written& w) { out_.write(std::string_view(target_.data(), w.length), w.status); }

    void report(const std::string& where, const std::string& problem) {
        all_read_ = false;
        // The lines before it come first when both go to one place.
        out_.flush();
        finish_output();
        std::fprintf(stderr, "isofmt: %s: %s\n", where.c_str(), problem.c_str());
    }

    const Host& host_;
    const Settings& settings_;
    const CatalogueEntry& entry_;
    const Request request_;
    const ValueRules rules_;
    std::vector<char> target_;
    LineWriter out_;
    FormatValue value_;
    std::string problem_;
    long line_number_ = 0;
    bool all_read_ = true;
};

}  // namespace

int convert_command(const Host& host, const Settings& settings, Kind kind,
                    std::string_view format, const std::vector<std::string>& values) {
    const Selection selection = select_format(host, format, kind);
    if (values.empty())
        throw UsageError(std::string("no ") + (kind == Kind::format ? "VALUE" : "TEXT") +
                         " given (use - to read them from standard input)");
    // Without --keep-going every argument is read before anything is
    // written, so that a usage error leaves standard output empty.
    if (kind == Kind::format && !settings.keep_going) {
        const ValueRules rules{settings.environment.missing_text};
        FormatValue value;
        std::string problem;
        for (const std::string& v : values)
            if (v != "-" && !read_value(*selection.entry, v, rules, value, problem)) throw UsageError(problem);
    }
    Conversion conversion(host, settings, selection);
    try {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i] == "-")
                conversion.convert_standard_input();
            else
                conversion.convert(values[i], "value " + std::to_string(i + 1));
        }
    } catch (const UsageError&) {
        conversion.flush();  // the lines before the bad value stay written
        throw;
    }
    conversion.flush();
    return conversion.all_read() ? kExitOk : kExitNotRead;
}

}  // namespace isofmt::tool
