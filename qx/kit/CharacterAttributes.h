// The default system locale: the environment's native locale, or "C" when the environment
// names one the runtime does not know. Built when the module loads, kept until it unloads.
#ifndef QX_KIT_CHARACTERATTRIBUTES_H
#define QX_KIT_CHARACTERATTRIBUTES_H

#include <locale>

namespace qx {
namespace kit {

const std::locale& GetDefaultSystemLocale();

// The locale of that name with all categories; the "C" locale when the name is refused.
std::locale MakeSystemLocale(const char* name);

// The module's static constructor and destructor entries.
void ConstructDefaultSystemLocale();
void DestroyDefaultSystemLocale();

} // namespace kit
} // namespace qx

#endif
