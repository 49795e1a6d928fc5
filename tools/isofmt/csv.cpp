// Records in blocks through libcsv's parser; fields out through its writer.
#include "csv.h"

#include <csv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace isofmt::tool::csv {

std::string_view ending_text(Ending e) {
    switch (e) {
    case Ending::none: return "";
    case Ending::lf: return "\n";
    case Ending::crlf: return "\r\n";
    case Ending::cr: return "\r";
    }
    return "";
}

void Block::clear() {
    text.clear();
    ends.clear();
    records.clear();
}

// What the parser's callbacks build: the block being filled and where the
// record in progress stands.
struct Reader::State {
    csv_parser parser{};
    Block block;
    std::size_t record_first_field = 0;  // first field of the record in progress
    std::size_t fields_in_record = 0;
    long line = 1;           // the line the parser has reached
    long record_line = 1;    // the line the record in progress began on
    bool after_cr = false;   // the last record ended with a CR, which an LF may complete

    // Line breaks inside a quoted field: LF, CRLF or a lone CR each count one.
    void count_breaks(const char* p, std::size_t n) {
        if (!std::memchr(p, '\n', n) && !std::memchr(p, '\r', n)) return;
        for (std::size_t i = 0; i < n; ++i)
            if (p[i] == '\n' || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'))) ++line;
    }

    static void on_field(void* data, std::size_t n, void* self) {
        State& s = *static_cast<State*>(self);
        if (s.fields_in_record == 0) s.record_line = s.line;
        const char* p = static_cast<const char*>(data);
        s.block.text.append(p, n);
        s.block.ends.push_back(s.block.text.size());
        ++s.fields_in_record;
        s.count_breaks(p, n);
    }

    // c is the character that ended the record, or -1 at the end of the input.
    static void on_record(int c, void* self) {
        State& s = *static_cast<State*>(self);
        std::vector<Block::Record>& records = s.block.records;
        if (s.fields_in_record == 0) {
            if (c == '\n' && s.after_cr && !records.empty()) {
                records.back().ending = Ending::crlf;
                s.after_cr = false;
                return;
            }
            if (c == -1) return;
            // A blank line: a record of one empty field.
            s.record_line = s.line;
            s.block.ends.push_back(s.block.text.size());
            s.fields_in_record = 1;
        }
        const Ending ending = c == '\n' ? Ending::lf : c == '\r' ? Ending::cr : Ending::none;
        records.push_back({s.record_first_field, s.fields_in_record, s.record_line, ending});
        s.record_first_field = s.block.ends.size();
        s.fields_in_record = 0;
        s.after_cr = ending == Ending::cr;
        if (ending != Ending::none) ++s.line;
    }
};

namespace {

// Blanks belong to the field (only quotes and delimiters delimit it).
int no_blanks(unsigned char) { return 0; }

constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

Reader::Reader(std::FILE* in, char delimiter) : in_(in), state_(std::make_unique<State>()), chunk_(kChunk) {
    if (csv_init(&state_->parser, CSV_REPALL_NL) != 0) throw std::runtime_error("cannot start the CSV parser");
    csv_set_delim(&state_->parser, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&state_->parser, no_blanks);
}

Reader::~Reader() { csv_free(&state_->parser); }

// Parses until the block holds enough whole records, or the input ends.
bool Reader::fill(std::size_t max_records, std::size_t max_bytes) {
    State& s = *state_;
    auto enough = [&] {
        const std::size_t n = s.block.records.size();
        return n > 1 && (n >= max_records || s.block.text.size() >= max_bytes);
    };
    while (!at_end_ && !enough()) {
        const std::size_t got = std::fread(chunk_.data(), 1, chunk_.size(), in_);
        if (got == 0) {
            if (std::ferror(in_)) throw std::runtime_error(std::string("cannot read the input: ") + std::strerror(errno));
            csv_fini(&s.parser, State::on_field, State::on_record, &s);
            at_end_ = true;
            break;
        }
        bytes_read_ += got;
        if (csv_parse(&s.parser, chunk_.data(), got, State::on_field, State::on_record, &s) != got)
            throw std::runtime_error(std::string("cannot read the input: ") + csv_strerror(csv_error(&s.parser)));
    }
    return !s.block.records.empty();
}

bool Reader::next(Block& block, std::size_t max_records, std::size_t max_bytes) {
    if (!fill(max_records, max_bytes)) return false;
    State& s = *state_;
    std::vector<Block::Record>& records = s.block.records;
    // A record that ended with a CR stays until the next byte tells whether
    // it was a CRLF.
    std::size_t keep = records.size();
    if (!at_end_ && records.back().ending == Ending::cr) --keep;
    const std::size_t carry_field = keep < records.size() ? records[keep].first_field : s.record_first_field;
    const std::size_t carry_byte = carry_field == 0 ? 0 : s.block.ends[carry_field - 1];

    // The block takes everything; what belongs to the next block goes back.
    block.clear();
    std::swap(block, s.block);
    s.block.text.assign(block.text, carry_byte);
    for (std::size_t i = carry_field; i < block.ends.size(); ++i) s.block.ends.push_back(block.ends[i] - carry_byte);
    for (std::size_t i = keep; i < block.records.size(); ++i) {
        Block::Record r = block.records[i];
        r.first_field -= carry_field;
        s.block.records.push_back(r);
    }
    s.record_first_field -= carry_field;
    block.text.resize(carry_byte);
    block.ends.resize(carry_field);
    block.records.resize(keep);
    return true;
}

bool needs_quotes(std::string_view field, char delimiter) {
    if (field.empty()) return false;
    if (field.front() == ' ' || field.front() == '\t' || field.back() == ' ' || field.back() == '\t') return true;
    for (char c : field)
        if (c == delimiter || c == '"' || c == '\n' || c == '\r') return true;
    return false;
}

void append_field(std::string& out, std::string_view field, char delimiter) {
    if (!needs_quotes(field, delimiter)) {
        out += field;
        return;
    }
    const std::size_t at = out.size();
    out.resize(at + 2 * field.size() + 2);  // every byte a quote, and the two around
    const std::size_t written = csv_write2(out.data() + at, out.size() - at, field.data(), field.size(), '"');
    out.resize(at + written);
}

}  // namespace isofmt::tool::csv
