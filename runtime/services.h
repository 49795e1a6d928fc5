// The host services, one function per entry of src/host/services.def, with
// the same names. anchor.cpp installs them in their (component, slot) and
// checks at compile time that each one has the table's signature.
#pragma once

#include <cstdint>

#include "abi/anchor.h"
#include "abi/call_block.h"

namespace isofmt::service {

// General services (component 0): named storage, GMT offset, text helpers.
std::int32_t vir2g(std::int32_t (*end_routine)(), void** handle, NamedArea* area, void* second_anchor);
std::int32_t wtrscrt(NamedArea* area, std::int32_t* token, std::int32_t zero, void* handle);
std::int32_t wtrsset(NamedArea* area, std::int32_t token, void* record);
std::int32_t wzdtgmt(double* offset);
std::int32_t wzfmhc(const std::uint8_t* bytes, std::int32_t count, std::int32_t width, std::int32_t one,
                    char* output);
std::int32_t wzifmch(const char* text, std::int32_t length, char* scratch);
std::int32_t wzrlchr(const char* text, std::int32_t limit, std::int32_t zero, std::int32_t* count,
                     std::int64_t* value);

// Kernel (component 30): exit, options, log, names, numeric and missing text.
[[noreturn]] void xexit(std::int32_t code, std::int32_t flag);
const char* xoptcgt(const char* name, std::int32_t* status);
std::int32_t xpslog(const char* format, ...);
std::int32_t xytnsl(NamedArea* area, std::int32_t one, const char* name, std::int32_t length, std::int32_t token);
std::int32_t xytngl(NamedArea* area, std::int32_t zero, const char* name, std::int32_t length, std::int32_t* token,
                    NamedPageTable* pages);
std::int32_t zfmt(FormatBlock* block);
std::int32_t zfmt_general(FormatBlock* block);  // zfmt without its common-case path
std::int32_t zfmmiss(FormatBlock* block);

// Date arithmetic (component 155): missing in, missing out.
double zdatprt(double datetime);
double zday(double date);
double zdhms(double date, double hour, double minute, double second);
double zhms(double hour, double minute, double second);
double zhour(double seconds);
double zjuldat(double date);
double zmdy(double month, double day, double year);
double zminute(double seconds);
double zmonth(double date);
double zsecond(double seconds);
double ztimprt(double datetime);
double zyear(double date);
std::int32_t zymdjul(double* year, double* month, double* day, double julian);

// Time zones (component 525).
double xkgtzoff(Environment* environment);
std::int32_t xkgtzstr(char* area, std::int32_t room, std::int32_t* length, double offset);
double xkgtzof4(Environment* environment, std::int32_t universal, double datetime);

}  // namespace isofmt::service
