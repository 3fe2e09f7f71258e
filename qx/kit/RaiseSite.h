// Every place where the support library raises one of its exceptions: the source file and
// line the exception records. Hosts and their logs know failures by these stamps, so they
// are fixed here, once, rather than taken from wherever the raising statement happens to
// sit; the raising code and the tests both read them from this table.
#ifndef QX_KIT_RAISESITE_H
#define QX_KIT_RAISESITE_H

#include <cstdint>

namespace qx {
namespace kit {

struct RaiseSite {
    const char* file; // a static literal
    std::int32_t line;
};

namespace raise_site {

// Guarded arithmetic.
inline constexpr RaiseSite k_safeAddition{"./qx/kit/SafeInteger", 125};
inline constexpr RaiseSite k_boundaryStringDoubling{"./qx/kit/SafeInteger", 163};
inline constexpr RaiseSite k_stringCodeDoubling{"./qx/kit/SafeInteger", 194};
inline constexpr RaiseSite k_numericCast{"./qx/kit/NumericCast", 92};

// The wide string: a substring that starts past the end of its source.
inline constexpr RaiseSite k_substringPosition{"qx/kit/StringBase", 91};

// Time breakdown and formatting. The range check and the fraction's format share the file
// of the breakdown's own sites.
inline constexpr RaiseSite k_timeOutOfRange{"qx/kit/osdep/AbsTimeToString", 98};
inline constexpr RaiseSite k_localtimeRefused{"qx/kit/osdep/AbsTimeToString", 104};
inline constexpr RaiseSite k_gmtimeRefused{"qx/kit/osdep/AbsTimeToString", 143};
inline constexpr RaiseSite k_fractionFormat{"qx/kit/osdep/AbsTimeToString", 231};

// Narrow to wide.
inline constexpr RaiseSite k_ansiToWideLocale{"qx/kit/osdep/AnsiToWide", 101};
inline constexpr RaiseSite k_ansiToWideOutputFull{"qx/kit/osdep/AnsiToWide", 109};
inline constexpr RaiseSite k_ansiToWideMeasuring{"qx/kit/osdep/AnsiToWide", 174};
inline constexpr RaiseSite k_ansiToWideConverting{"qx/kit/osdep/AnsiToWide", 205};

// Wide to narrow.
inline constexpr RaiseSite k_wideToAnsiLocale{"qx/kit/osdep/WideToAnsi", 102};
inline constexpr RaiseSite k_wideToAnsiOutputFull{"qx/kit/osdep/WideToAnsi", 110};
inline constexpr RaiseSite k_wideToAnsiMeasuring{"qx/kit/osdep/WideToAnsi", 185};
inline constexpr RaiseSite k_wideToAnsiConverting{"qx/kit/osdep/WideToAnsi", 212};

// UTF-8 to wide.
inline constexpr RaiseSite k_utf8BadLead{"qx/kit/Utf8ToWide", 62};
inline constexpr RaiseSite k_utf8BadTrail{"qx/kit/Utf8ToWide", 76};
inline constexpr RaiseSite k_utf8CountCutOff{"qx/kit/Utf8ToWide", 151};
inline constexpr RaiseSite k_utf8DecodeCutOff{"qx/kit/Utf8ToWide", 171};
inline constexpr RaiseSite k_utf8NotConsumed{"qx/kit/Utf8ToWide", 243};
inline constexpr RaiseSite k_utf8BadArguments{"qx/kit/Utf8ToWide", 272};

// Wide to UTF-8.
inline constexpr RaiseSite k_wideToUtf8NotConsumed{"qx/kit/WideToUtf8", 204};
inline constexpr RaiseSite k_wideToUtf8BadArguments{"qx/kit/WideToUtf8", 230};

} // namespace raise_site
} // namespace kit
} // namespace qx

#endif
