#include "qx/kit/osdep/AbsTimeToString.h"

#include "qx/kit/Exception.h"
#include "qx/kit/NarrowString.h"
#include "qx/kit/osdep/TimeBreakdown.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

namespace qx {
namespace kit {
namespace osdep {

namespace {

constexpr std::int32_t k_maxDigits = 9; // 10^9 - 1 still fits a signed 32-bit int
// strftime reports a result that does not fit and an empty result alike; past this size an
// empty answer is taken as the real one.
constexpr std::uint32_t k_maxFormattedBytes = 0x10000;

constexpr AbsTime k_fractionMask(0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu);

// A percent sign in the text would start a directive of the format it goes into.
std::string EscapePercent(const char* text) {
    std::string escaped;
    for (; *text != '\0'; ++text) {
        escaped += *text;
        // Only a separator can hold one, and no installed locale's decimal point does.
        if (*text == '%')
            escaped += '%'; // GCOVR_EXCL_LINE
    }
    return escaped;
}

std::string SeparatorText(std::int32_t separator) {
    if (separator == k_separatorPoint)
        return ".";
    if (separator == k_separatorComma)
        return ",";
    // The module never sets the locale; a host that does so while another task formats a
    // time races in the C library whatever is called here.
    const std::lconv* conventions = std::localeconv(); // NOLINT(concurrency-mt-unsafe)
    return conventions != nullptr && conventions->decimal_point != nullptr
               ? conventions->decimal_point
               : ".";
}

// The separator and exactly digits digits of value, escaped for strftime.
std::string FractionText(std::int32_t value, std::int32_t digits, std::int32_t separator) {
    char format[64] = {};
    const int formatLength = std::snprintf(format, sizeof format, "%s%%0%dd",
                                           EscapePercent(SeparatorText(separator).c_str()).c_str(),
                                           static_cast<int>(digits));
    // A decimal point is a few bytes and digits at most 9, far within both buffers.
    if (formatLength < 0 || static_cast<std::size_t>(formatLength) >= sizeof format)
        throw exception::BufferOverflow(raise_site::k_fractionFormat); // GCOVR_EXCL_LINE
    char text[96] = {};
    const int textLength = std::snprintf(text, sizeof text, format, static_cast<int>(value));
    if (textLength < 0 || static_cast<std::size_t>(textLength) >= sizeof text)
        throw exception::BufferOverflow(raise_site::k_fractionFormat); // GCOVR_EXCL_LINE
    return EscapePercent(text);
}

// The format with fraction inserted after every seconds directive.
WideString WithFraction(const WideString& format, const WideString& fraction) {
    WideString result;
    const std::uint32_t length = format.length();
    std::uint32_t copied = 0;
    std::uint32_t percent = format.find(u'%');
    while (percent != WideString::npos && percent + 1 < length) {
        std::uint32_t directiveEnd = percent + 2; // past "%x"
        if (format[percent + 1] == u'#' && percent + 2 < length)
            directiveEnd = percent + 3; // past "%#x"
        if (format[directiveEnd - 1] == u'S') {
            result.append(format.c_str() + copied, directiveEnd - copied);
            result.append(fraction.c_str(), fraction.length());
            copied = directiveEnd;
        }
        percent = format.find(u'%', directiveEnd);
    }
    return result.append(format.c_str() + copied, length - copied);
}

NarrowString Formatted(const NarrowString& format, const std::tm& fields) {
    std::uint32_t capacity = 2 * format.length() + 64;
    for (;;) {
        NarrowString out = NarrowString::withCapacity(capacity);
        const std::size_t written =
            std::strftime(out.data(), capacity + 1, format.c_str(), &fields);
        if (written > 0 || format.length() == 0 || capacity >= k_maxFormattedBytes) {
            out.setLength(static_cast<std::uint32_t>(written));
            return out;
        }
        capacity *= 2;
    }
}

} // namespace

WideString AbsTimeToString(const AbsTime& t, const WideString& format, std::int32_t digits,
                           std::int32_t separator, bool inUtc) {
    digits = digits < 0 ? 0 : (digits > k_maxDigits ? k_maxDigits : digits);
    const AbsTime fraction = t & k_fractionMask;
    // The floor: the fraction counts up from it on both sides of the epoch.
    AbsTime whole = t - fraction;
    const double scale = std::pow(10.0, digits);
    double scaled = static_cast<double>(static_cast<long double>(fraction)) * scale + 0.5;
    if (scaled >= scale) {
        whole += AbsTime(std::int32_t{1});
        scaled = 0.0;
    }
    std::tm fields{};
    if (inUtc)
        ToUtcTm(&fields, whole, k_truncateSeconds);
    else
        ToLocalTm(&fields, whole, k_truncateSeconds);
    WideString fullFormat(format);
    if (digits > 0) {
        const std::string text = FractionText(static_cast<std::int32_t>(scaled), digits, separator);
        fullFormat = WithFraction(format, WideString(text.c_str()));
    }
    return WideString(Formatted(fullFormat.toNarrow(), fields).c_str());
}

} // namespace osdep
} // namespace kit
} // namespace qx
