#include "host/hostcall.h"

ServiceAnchor* v_global_gcb_anchor = nullptr;
void* v_global_pidb_anchor = nullptr;
void* Exported_RQHandle = nullptr;
