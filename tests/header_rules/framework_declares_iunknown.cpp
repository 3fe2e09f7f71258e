/* -std=c++17 compiles: a host whose framework declares IUnknown and kcSysLocale */
class IUnknown {
public:
    virtual void FrameworkOwn() = 0;

protected:
    ~IUnknown() = default;
};
enum kcSysLocale { kcSysLocaleFramework };

#define QXZEVA_CXX_NO_GLOBAL_NAMES
#include "qxzeva/qxzeva_cxx.h"
#include "qxzeva/qxzeva_host.h"

#include <type_traits>

static_assert(!std::is_same_v<IUnknown, qxzeva::cxx::IUnknown>, "the framework's own");
static_assert(std::is_base_of_v<qxzeva::cxx::IUnknown, qxzeva::cxx::IkcSysExpert2>, "ours");

void Create(qx_module* module) {
    qxzeva::Ref<qxzeva::cxx::IkcSysExpert2> expert;
    if (qxzeva::CreateExpert(module, expert.put()) == S_OK)
        (void)expert->SetPreferredLocale(qxzeva::cxx::kcSysLocaleDefault);
}
