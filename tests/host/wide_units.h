// A zero-terminated copy of a UTF-16 text in the C view's units, for the host's unit tests.
#ifndef QX_TESTS_HOST_WIDE_UNITS_H
#define QX_TESTS_HOST_WIDE_UNITS_H

#include "qxzeva/qxzeva_c.h"

#include <string>
#include <vector>

inline std::vector<QX_WCHAR> Units(const std::u16string& text) {
    std::vector<QX_WCHAR> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

#endif
