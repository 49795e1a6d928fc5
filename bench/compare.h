// isofmt beside its peers (compare.cpp).
#pragma once

#include "peers.h"

namespace compare {

// Compares every peer's text with isofmt's on every input of its family and
// reports each difference on stderr; returns how many peers differ.
int check();

// One benchmark per family and routine: compare/FAMILY/isofmt, .../PEER.
void register_benchmarks();

// Under callgrind: one dump "isofmt|FAMILY" and "floor|FAMILY" per family,
// each holding the cost of one pass over its 1024 inputs.
int count_instructions();

}  // namespace compare
