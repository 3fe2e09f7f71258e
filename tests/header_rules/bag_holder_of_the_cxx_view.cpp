/* -std=c++17 fails: CreateExpert fills a holder of the expert's interface: IkcSysExpert2 */
#include "qxzeva/qxzeva_cxx.h"
#include "qxzeva/qxzeva_host.h"

void Create(qx_module* module) {
    qxzeva::Ref<IkcSysPropertyBag3> bag;
    (void)qxzeva::CreateExpert(module, bag.put());
}
