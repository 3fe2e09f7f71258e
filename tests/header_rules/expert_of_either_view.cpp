/* -std=c++17 compiles: CreateExpert fills a holder of the expert's or of IUnknown */
#include "qxzeva/qxzeva_cxx.h"
#include "qxzeva/qxzeva_host.h"

void Create(qx_module* module) {
    qxzeva::Ref<IkcSysExpert2> expert;
    qxzeva::Ref<IkcSysExpertInfo> info;
    qxzeva::Ref<IUnknown> any;
    qxzeva::Ref<qxzeva::c::IkcSysExpert2> table;
    qxzeva::Ref<qxzeva::c::IUnknown> anyTable;
    (void)qxzeva::CreateExpert(module, expert.put());
    (void)qxzeva::CreateExpert(module, info.put());
    (void)qxzeva::CreateExpert(module, any.put());
    (void)qxzeva::CreateExpert(module, table.put());
    (void)qxzeva::CreateExpert(module, anyTable.put());
}
