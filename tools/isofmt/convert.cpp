// The format and informat commands: one output line per value, from the
// arguments or streamed from standard input.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "abi/problems.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

// Writes the routine's text and, with --status, a TAB and the status: the
// status word for formats, the problem code and its message for informats.
class LineWriter {
public:
    LineWriter(bool status, Kind kind) : status_(status), kind_(kind) {}

    void write(const Result& r) {
        line_.assign(r.text);
        if (status_) {
            char word[16];
            if (kind_ == Kind::format) {
                std::snprintf(word, sizeof word, "\t0x%08x", static_cast<unsigned>(r.status));
                line_ += word;
            } else {
                std::snprintf(word, sizeof word, "\t%d", static_cast<int>(r.status));
                line_ += word;
                if (r.status != 0) (line_ += '\t') += problem_text(r.status);
            }
        }
        line_ += '\n';
        write_out(line_);
    }

private:
    bool status_;
    Kind kind_;
    std::string line_;
};

// One run of the command over its values.
class Conversion {
public:
    Conversion(const Host& host, const Settings& settings, const Selection& selection)
        : host_(host),
          settings_(settings),
          selection_(selection),
          request_(make_request(host, settings, selection)),
          rules_{settings.environment.missing_text},
          out_(settings.status, selection.entry->kind) {}

    // One value; `where` names it in messages ("value 2", "standard input, line 7").
    void convert(std::string_view text, const std::string& where) {
        if (selection_.entry->kind == Kind::informat) {
            const Result r = run_informat(host_, selection_, request_, text);
            out_.write(r);
            if (r.status != 0 && settings_.keep_going) {
                report(where, "problem " + std::to_string(r.status) + " with " + quote(text) + ": " +
                                  problem_text(r.status));
            }
            return;
        }
        FormatValue value;
        std::string problem;
        if (!read_value(*selection_.entry, text, rules_, value, problem)) {
            if (!settings_.keep_going) throw UsageError(where.empty() ? problem : where + ": " + problem);
            report(where, problem);
            value = missing_value(*selection_.entry);
        }
        out_.write(run_format(host_, selection_, request_, value));
    }

    // Every line of standard input; a CR before the LF is dropped.
    void convert_standard_input() {
        struct Line {
            char* data = nullptr;
            std::size_t room = 0;
            ~Line() { std::free(data); }
        } line;
        errno = 0;
        for (ssize_t n; (n = ::getline(&line.data, &line.room, stdin)) >= 0;) {
            std::string_view text(line.data, static_cast<std::size_t>(n));
            if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
            if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
            convert(text, "standard input, line " + std::to_string(++line_number_));
        }
        if (std::ferror(stdin))
            throw IoError(std::string("cannot read standard input: ") + std::strerror(errno ? errno : EIO));
    }

    bool all_read() const { return all_read_; }

private:
    void report(const std::string& where, const std::string& problem) {
        all_read_ = false;
        std::fflush(stdout);  // the lines before it come first when both go to one place
        std::fprintf(stderr, "isofmt: %s: %s\n", where.c_str(), problem.c_str());
    }

    const Host& host_;
    const Settings& settings_;
    const Selection& selection_;
    const Request request_;
    const ValueRules rules_;
    LineWriter out_;
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
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == "-")
            conversion.convert_standard_input();
        else
            conversion.convert(values[i], "value " + std::to_string(i + 1));
    }
    return conversion.all_read() ? kExitOk : kExitNotRead;
}

}  // namespace isofmt::tool
