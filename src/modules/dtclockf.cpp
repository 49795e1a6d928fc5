// dtclockf: the classic clock formats. The host binds the nine routines to
// its own names and limits by slot; the module keeps no state.
#include "classic/classic.h"
#include "binding/hostcall.h"
#include <iterator>

#include "host/module.h"
#include "host/module_state.h"
#include "render/render.h"

extern "C" void* dtclockf(std::int32_t type);

namespace {

FormatRoutine* const kRoutines[] = {
    zfmdtmm, zfmdttm, zfmhhmm, zfmhour, zfmdyam, zfmmmss, zfmtime, zfmtimm, zfmtod,
};
constexpr std::size_t kTableBytes = 80;
static_assert(routine_result_size(std::size(kRoutines)) == kTableBytes);

}  // namespace

void* dtclockf(std::int32_t) {
    void* table = vmalcp_handler(v_global_gcb_anchor->registration_allocator, kTableBytes, kRegistrationFlags);
    if (table == nullptr) return nullptr;
    FormatRoutine** words = routine_words(table);
    for (std::size_t i = 0; i < std::size(kRoutines); ++i) words[i] = kRoutines[i];
    return table;
}

ISOFMT_MODULE_IMAGE(pcn_DTCLOCKF, dtclockf, 0x118736)
