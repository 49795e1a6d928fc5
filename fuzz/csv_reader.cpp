// Fuzzes the CSV reading and writing of isofmt convert: any bytes are read
// as records whose fields lie within their block, and the records written
// back with the writer's quoting read again as the same records. Blocks are
// cut small, so that records carry over from block to block.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "isofmt/csv.h"  // tools/isofmt

namespace {

namespace csv = isofmt::tool::csv;

struct Record {
    std::vector<std::string> fields;
    csv::Ending ending;
    bool operator==(const Record&) const = default;
};

// Every record of the bytes, each block checked on the way.
std::vector<Record> read_all(const std::string& bytes, char delimiter, std::size_t block_records) {
    std::FILE* in = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    if (!in) std::abort();
    std::vector<Record> records;
    {
        csv::Reader reader(in, delimiter);
        csv::Block block;
        while (reader.next(block, block_records, 256)) {
            if (block.records.empty()) std::abort();
            std::size_t next_field = 0;
            for (const csv::Block::Record& r : block.records) {
                if (r.first_field != next_field || r.fields == 0 || r.first_field + r.fields > block.ends.size())
                    std::abort();
                next_field += r.fields;
                Record out{{}, r.ending};
                for (std::size_t i = 0; i < r.fields; ++i) out.fields.emplace_back(block.field(r, i));
                records.push_back(std::move(out));
            }
            if (next_field != block.ends.size() || (!block.ends.empty() && block.ends.back() != block.text.size()))
                std::abort();
        }
        if (reader.bytes_read() != bytes.size()) std::abort();
    }
    std::fclose(in);
    return records;
}

std::string write_all(const std::vector<Record>& records, char delimiter) {
    std::string out;
    for (const Record& r : records) {
        for (std::size_t i = 0; i < r.fields.size(); ++i) {
            if (i > 0) out += delimiter;
            csv::append_field(out, r.fields[i], delimiter);
        }
        out += csv::ending_text(r.ending);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr char kDelimiters[] = {',', ';', '\t', '|'};
    const char delimiter = kDelimiters[data[0] % 4];
    const std::size_t block_records = 1 + (data[0] >> 2) % 8;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<Record> records = read_all(bytes, delimiter, block_records);
    // A record of one empty field writes as nothing, which reads back as a
    // blank line only where a line end follows that cannot join the one
    // before: the round trip is checked where no record is one empty field.
    for (const Record& r : records)
        if (r.fields.size() == 1 && r.fields[0].empty()) return 0;
    if (read_all(write_all(records, delimiter), delimiter, block_records) != records) std::abort();
    return 0;
}
