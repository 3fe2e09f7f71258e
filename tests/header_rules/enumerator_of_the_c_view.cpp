/* -std=c++17 fails: CreateExpert fills a holder of the expert's interface: IkcSysExpert2 */
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/qxzeva_host.h"

void Create(qx_module* module) {
    qxzeva::Ref<qxzeva::c::IkcSysEnumStringList> names;
    (void)qxzeva::CreateExpert(module, names.put());
}
