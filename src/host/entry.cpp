// Module entry: the host hands over its anchors before anything else.
#include "host/hostcall.h"
#include "host/module.h"

ServiceAnchor* v_global_gcb_anchor = nullptr;
void* v_global_pidb_anchor = nullptr;
void* Exported_RQHandle = nullptr;

void himodcn() {}

const ImageInformation* mcn_main(ServiceAnchor* anchor, void* second_anchor) {
    v_global_gcb_anchor = anchor;
    v_global_pidb_anchor = second_anchor;
    himodcn();
    Exported_RQHandle = anchor->handle;
    return &vi_mcn;
}
