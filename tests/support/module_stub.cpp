// What a module source provides, for unit tests that link the plug-in code
// directly: the image block that mcn_main returns and the name of the module
// state record (the one dtextnd1 and dtaltfm1 share).
#include "host/module.h"
#include "host/module_state.h"

extern "C" {
const char module_state_name[15] = "__FMT_DTEXTND1";
void* test_module(std::int32_t) { return nullptr; }
}

ISOFMT_MODULE_IMAGE(pcn_TESTMOD, test_module, 0)
