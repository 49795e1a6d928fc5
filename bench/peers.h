// The families compared side by side: for each, what isofmt is called with,
// the same 1024 seeded inputs, the general-purpose peers that write (or
// read) the same text and the hand-written floor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace peers {

// One input of a family: a host value for the formats, a text for the
// informats.
struct Input {
    double value = 0;
    std::string text;
};

// Writes the text of one input into out (room for 128 characters), or reads
// one text into the 16 packed characters; returns the length (0: it failed).
using Routine = int (*)(const Input&, char* out);

struct Peer {
    const char* name;  // strftime, {fmt}, date, Abseil, sscanf, floor
    Routine routine;
};

struct Family {
    std::string label;  // E8601DT19, IS860PD read, ...
    const char* name;   // the catalogue name
    bool informat;
    int width, decimals;
    bool new_york;                 // rendered in America/New_York
    std::int32_t options = 0;      // duration and interval formats: the render options
    std::int32_t dt_options = 0;   // interval formats: the datetime halves' options
    const std::vector<Input>* inputs;
    std::vector<Peer> peers;       // the floor last, when there is one
};

const std::vector<Family>& families();

}  // namespace peers
