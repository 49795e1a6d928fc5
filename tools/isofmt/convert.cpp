// The format and informat commands: one output line per value, from the
// arguments or streamed from standard input.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "abi/problems.h"
#include "decimal_line.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

// Gathers the output lines and writes them in blocks (every write checked).
// A routine writes its text straight into the block at target(), which has
// the room of one call free; commit() ends the line: with --status a TAB and
// the status (the status word for formats, the problem code and its message
// for informats), then LF. flush() writes what is held.
class LineWriter {
public:
    // Lines of at most `room` characters and their LF, `batch` at a time.
    LineWriter(bool status, Kind kind, std::size_t room, std::size_t batch)
        : status_(status), kind_(kind), size_(kBlock + batch * (room + 1)), buffer_(new char[size_]) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Lines of n values rendered together, without --status; n at most
    // the batch.
    void put_lines(const Host::NumericFormat& format, const double* values, std::size_t n) {
        used_ += format.format_lines(values, n, buffer_.get() + used_, size_ - used_);
        if (used_ >= kBlock) flush();
    }

    char* target() { return buffer_.get() + used_; }

    void commit(std::size_t length, std::int32_t status) {
        used_ += length;
        if (status_) append_status(status);
        if (used_ == size_) flush();
        buffer_[used_++] = '\n';
        if (used_ >= kBlock) flush();
    }

    void flush() {
        write_out(std::string_view(buffer_.get(), used_));
        used_ = 0;
    }

private:
    void append_status(std::int32_t status) {
        char word[16];
        if (kind_ == Kind::format) {
            std::snprintf(word, sizeof word, "\t0x%08x", static_cast<unsigned>(status));
            append(word);
            return;
        }
        std::snprintf(word, sizeof word, "\t%d", static_cast<int>(status));
        append(word);
        if (status != 0) {
            append("\t");
            append(problem_text(status));
        }
    }

    void append(std::string_view text) {
        while (!text.empty()) {
            if (used_ == size_) flush();
            const std::size_t n = std::min(text.size(), size_ - used_);
            std::memcpy(buffer_.get() + used_, text.data(), n);
            used_ += n;
            text.remove_prefix(n);
        }
    }

    static constexpr std::size_t kBlock = 1 << 16;
    bool status_;
    Kind kind_;
    std::size_t size_;  // kBlock, the room of a call and its LF
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

// The lines of standard input, read in blocks; a line's CR LF end counts as
// LF. A read error throws IoError.
class LineReader {
public:
    LineReader() : buffer_(kBefore + kBlock + kAfter) {}

    bool next(std::string_view& line) {
        // A short line is found a word at a time, with no call: the buffer
        // holds kAfter bytes past what was read, so a word may end there.
        const char* const from = data() + at_;
        const char* const held = data() + held_;
        const char* p = from;
        for (int k = 0; k < 8 && p < held; ++k, p += 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            const std::uint64_t x = w ^ 0x0A0A0A0A0A0A0A0A;  // LF bytes become zero
            // The lowest byte marked is the first zero byte.
            if (const std::uint64_t zero = (x - 0x0101010101010101) & ~x & 0x8080808080808080) {
                const char* const lf = p + std::countr_zero(zero) / 8;
                if (lf >= held) break;
                at_ = static_cast<std::size_t>(lf - data()) + 1;
                line = cut(from, lf);
                return true;
            }
        }
        return next_block(line);
    }

    // The next lines while they are short plain decimals, their numbers
    // read in place (detail::read_decimal_line) into values, at most room
    // of them: how many. Stops before any other line and at the end of what
    // is held, which next() then reads. The NUL kept after what is held
    // ends the last line there: read_decimal_line takes no LF past it.
    std::size_t next_decimals(double* values, std::size_t room) {
        const char* p = data() + at_;
        std::size_t n = 0;
        for (; n < room; ++n) {
            const unsigned length = detail::read_decimal_line(p, values[n]);
            if (length == 0) break;
            p += length;
        }
        at_ = static_cast<std::size_t>(p - data());
        return n;
    }

private:
    [[gnu::noinline]] bool next_block(std::string_view& line) {
        for (;;) {
            const char* from = data() + at_;
            if (const void* lf = std::memchr(from, '\n', held_ - at_)) {
                const char* end = static_cast<const char*>(lf);
                at_ = static_cast<std::size_t>(end - data()) + 1;
                line = cut(from, end);
                return true;
            }
            // The start of a line moves to the front; a line that fills the
            // buffer makes it grow.
            held_ -= at_;
            std::memmove(data(), from, held_);
            data()[held_] = '\0';
            at_ = 0;
            if (held_ == capacity()) buffer_.resize(kBefore + 2 * capacity() + kAfter);
            errno = 0;
            const std::size_t got = std::fread(data() + held_, 1, capacity() - held_, stdin);
            if (got == 0) {
                if (std::ferror(stdin))
                    throw IoError(std::string("cannot read standard input: ") + std::strerror(errno ? errno : EIO));
                if (held_ == 0) return false;
                line = cut(data(), data() + held_);  // the last line, without its LF
                at_ = held_;
                return true;
            }
            held_ += got;
            data()[held_] = '\0';
        }
    }

    static std::string_view cut(const char* from, const char* to) {
        std::string_view l(from, static_cast<std::size_t>(to - from));
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        return l;
    }

    char* data() { return buffer_.data() + kBefore; }
    std::size_t capacity() const { return buffer_.size() - kBefore - kAfter; }

    static constexpr std::size_t kBlock = 1 << 16;
    // Bytes kept around what is read, for the loads of a line's words.
    static constexpr std::size_t kBefore = detail::kDecimalLineBefore;
    static constexpr std::size_t kAfter = detail::kDecimalLineAfter;
    std::vector<char> buffer_;  // zero-filled, so the bytes around what was read are set, a NUL after it
    std::size_t held_ = 0;  // characters read into data()
    std::size_t at_ = 0;    // where the next line starts
};

// Names a value in messages: "value 2", "standard input, line 7". Built
// only when a message needs it.
struct Where {
    const char* what;
    long number;
    std::string text() const { return what + std::to_string(number); }
};

// One run of the command over its values, each rendered straight into the
// output block (the numeric formats allocate nothing per value).
class Conversion {
public:
    Conversion(const Host& host, const Settings& settings, const Selection& selection)
        : host_(host),
          settings_(settings),
          entry_(*selection.entry),
          request_(make_request(host, settings, selection)),
          rules_{settings.environment.missing_text},
          reader_(entry_, rules_),
          room_(host.room(entry_, request_)),
          batch_(std::clamp<std::size_t>(kBlock / (room_ + 1), 1, kBatch)),
          out_(settings.status, entry_.kind, room_, batch_) {
        if (entry_.kind == Kind::format && entry_.shape == Shape::numeric)
            numeric_.emplace(host.prepare_format(entry_, request_));
    }

    void convert(std::string_view text, Where where) {
        if (entry_.kind == Kind::informat) {
            const Written w = host_.informat_to(entry_, text, request_, out_.target(), room_);
            out_.commit(w.length, w.status);
            if (w.status != 0 && settings_.keep_going)
                report(where, "problem " + std::to_string(w.status) + " with " + quote(text) + ": " +
                                  problem_text(w.status));
            return;
        }
        if (!reader_.read(text, value_, problem_)) {
            if (!settings_.keep_going) throw UsageError(where.text() + ": " + problem_);
            report(where, problem_);
            value_ = missing_value(entry_);
        }
        const Written w = numeric_ ? numeric_->format_to(value_.number, out_.target(), room_)
                                   : host_.format_packed_to(entry_, value_.packed, request_, out_.target(), room_);
        out_.commit(w.length, w.status);
    }

    void convert_standard_input() {
        LineReader in;
        std::string_view line;
        if (!numeric_ || settings_.status) {
            while (in.next(line)) convert(line, Where{"standard input, line ", ++line_number_});
            return;
        }
        // The plain decimals are gathered and rendered a batch at a time;
        // any other line renders the batch before it, then goes its own way.
        // Short decimal lines are read in place, the others as lines.
        double values[kBatch];
        std::size_t n = 0;
        const bool short_lines = reader_.reads_short_lines();
        for (;;) {
            if (short_lines) {
                const std::size_t got = in.next_decimals(values + n, batch_ - n);
                line_number_ += static_cast<long>(got);
                n += got;
            }
            if (n == batch_) {
                out_.put_lines(*numeric_, values, n);
                n = 0;
                continue;
            }
            if (!in.next(line)) break;
            ++line_number_;
            if (const std::optional<double> v = reader_.plain(line)) {
                values[n++] = *v;
                continue;
            }
            out_.put_lines(*numeric_, values, n);
            n = 0;
            convert(line, Where{"standard input, line ", line_number_});
        }
        out_.put_lines(*numeric_, values, n);
    }

    void flush() { out_.flush(); }
    bool all_read() const { return all_read_; }

private:
    void report(Where where, const std::string& problem) {
        all_read_ = false;
        // The lines before it come first when both go to one place.
        out_.flush();
        finish_output();
        std::fprintf(stderr, "isofmt: %s: %s\n", where.text().c_str(), problem.c_str());
    }

    static constexpr std::size_t kBlock = 1 << 16;
    static constexpr std::size_t kBatch = 64;

    const Host& host_;
    const Settings& settings_;
    const CatalogueEntry& entry_;
    const Request request_;
    const ValueRules rules_;
    const ValueReader reader_;
    const std::size_t room_;
    const std::size_t batch_;  // values rendered together, kBatch or fewer
    std::optional<Host::NumericFormat> numeric_;  // the request checked once
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
                conversion.convert(values[i], Where{"value ", static_cast<long>(i + 1)});
        }
    } catch (const UsageError&) {
        conversion.flush();  // the lines before the bad value stay written
        throw;
    }
    conversion.flush();
    return conversion.all_read() ? kExitOk : kExitNotRead;
}

}  // namespace isofmt::tool
