// The locale names the byte-for-unit fallback conversions understand.
#ifndef QX_KIT_OSDEP_FALLBACKLOCALE_H
#define QX_KIT_OSDEP_FALLBACKLOCALE_H

#include <cstring>

namespace qx {
namespace kit {
namespace osdep {

// The empty name (the default locale) and "US-ASCII"; a null name counts as empty.
inline bool IsFallbackLocale(const char* name) {
    return name == nullptr || name[0] == '\0' || std::strcmp(name, "US-ASCII") == 0;
}

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
