// The parts of the service anchor that every host shares: the directory of
// service vectors and the character tables.
#pragma once

#include <cstdint>

namespace isofmt::detail {

// component -> vector of routine addresses, every service of
// src/host/services.def in its slot; unused slots and components are null.
const void* const* const* service_directory();

const std::uint8_t* upcase_table();      // a-z -> A-Z, every other byte itself
const std::uint8_t* char_class_table();  // kCharDigit for '0'..'9'

}  // namespace isofmt::detail
