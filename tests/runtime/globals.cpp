// The three globals a module defines; here the tests' calls through the
// stubs of host/hostcall.h reach the host through them.
#include "binding/hostcall.h"

ServiceAnchor* v_global_gcb_anchor = nullptr;
void* v_global_pidb_anchor = nullptr;
void* Exported_RQHandle = nullptr;
