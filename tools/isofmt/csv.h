// CSV through libcsv: records read in blocks of whole records, and fields
// written back with the same quoting rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace isofmt::tool::csv {

// How a record ended in the input; it is written back the same way.
enum class Ending : std::uint8_t { none, lf, crlf, cr };

std::string_view ending_text(Ending e);

// A run of whole records: the bytes of every field, one after another.
struct Block {
    struct Record {
        std::size_t first_field = 0;
        std::size_t fields = 0;
        long line = 0;  // the line the record starts on, from 1
        Ending ending = Ending::none;
    };

    std::string text;
    std::vector<std::size_t> ends;  // where each field ends in text
    std::vector<Record> records;

    std::string_view field(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(text).substr(begin, ends[i] - begin);
    }
    std::string_view field(const Record& r, std::size_t i) const { return field(r.first_field + i); }
    void clear();
};

// Reads records from a stream. A blank line is a record of one empty field;
// LF, CRLF and a lone CR end records; quoted fields may hold delimiters,
// quotes ("") and line breaks; blanks around unquoted fields are kept.
class Reader {
public:
    Reader(std::FILE* in, char delimiter);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Replaces the block's contents with the next whole records: at least
    // one, and about max_records or max_bytes of them. False at the end of
    // the input. Throws std::runtime_error when the input cannot be read.
    bool next(Block& block, std::size_t max_records, std::size_t max_bytes);

    // Bytes of input consumed so far.
    std::uint64_t bytes_read() const { return bytes_read_; }

    struct State;

private:
    bool fill(std::size_t max_records, std::size_t max_bytes);

    std::FILE* in_;
    std::unique_ptr<State> state_;
    std::vector<char> chunk_;
    std::uint64_t bytes_read_ = 0;
    bool at_end_ = false;
};

// Whether a field must be quoted to read back the same: it holds the
// delimiter, a quote or a line break, or begins or ends with a blank.
bool needs_quotes(std::string_view field, char delimiter);

// Appends the field to out, quoted (quotes doubled) where it needs it.
void append_field(std::string& out, std::string_view field, char delimiter);

}  // namespace isofmt::tool::csv
