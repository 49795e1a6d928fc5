// Module entry: the host hands over its anchors before anything else.
#include "binding/hostcall.h"
#include "host/module.h"

void himodcn() {}

const ImageInformation* mcn_main(ServiceAnchor* anchor, void* second_anchor) {
    v_global_gcb_anchor = anchor;
    v_global_pidb_anchor = second_anchor;
    himodcn();
    Exported_RQHandle = anchor->handle;
    return &vi_mcn;
}
