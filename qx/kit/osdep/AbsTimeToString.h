// Formatting an absolute time with a strftime-style format, with a chosen number of digits
// of the second's fraction after every seconds directive.
#ifndef QX_KIT_OSDEP_ABSTIMETOSTRING_H
#define QX_KIT_OSDEP_ABSTIMETOSTRING_H

#include "qx/kit/AbsTime.h"
#include "qx/kit/StringBase.h"

#include <cstdint>

namespace qx {
namespace kit {
namespace osdep {

// Separator choices: any other value takes the C library's decimal point for the current
// locale.
enum FractionSeparator : std::int32_t { k_separatorPoint = 1, k_separatorComma = 2 };

// The fraction digits are the fraction of a second rounded to digits places (0 to 9; values
// outside are clamped), and a fraction that rounds up to a whole second moves the time one
// second on. %S and %#S carry them, %%S is a percent sign and an S. The breakdown is local
// time, or UTC when inUtc is set; a time it refuses throws exception::OutOfRange.
WideString AbsTimeToString(const AbsTime& t, const WideString& format, std::int32_t digits,
                           std::int32_t separator, bool inUtc = false);

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
