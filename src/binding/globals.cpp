// The three globals through which the module reaches its host; mcn_main
// sets them before any other call.
#include "binding/hostcall.h"

ServiceAnchor* v_global_gcb_anchor = nullptr;
void* v_global_pidb_anchor = nullptr;
void* Exported_RQHandle = nullptr;
