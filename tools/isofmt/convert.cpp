// The format and informat commands: one output line per value.
#include <cstdio>
#include <iostream>

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
        std::fwrite(line_.data(), 1, line_.size(), stdout);
    }

private:
    bool status_;
    Kind kind_;
    std::string line_;
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

    LineWriter out(settings.status, selection.entry->kind);
    for (const std::string& v : values) {
        if (v != "-") {
            out.write(run(host, selection, request, v));
            continue;
        }
        std::string line;
        for (long number = 1; std::getline(std::cin, line); ++number) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            try {
                out.write(run(host, selection, request, line));
            } catch (const UsageError& e) {
                std::fflush(stdout);
                throw UsageError(std::string(e.what()) + " on line " + std::to_string(number) +
                                 " of standard input");
            }
        }
    }
    return 0;
}

}  // namespace isofmt::tool
