#include "qx/kit/Exception.h"

namespace qx {
namespace kit {
namespace exception {

namespace {
// The codes share the library's facility; written as the unsigned words they are.
constexpr std::int32_t Code(std::uint32_t word) {
    return static_cast<std::int32_t>(word);
}
} // namespace

Exception::~Exception() = default;

const char* Exception::what() const noexcept {
    return "unspecified exception";
}
std::int32_t Exception::getErrorCode() const noexcept {
    return -1;
}

const char* BufferOverflow::what() const noexcept {
    return "Buffer overflowed";
}
std::int32_t BufferOverflow::getErrorCode() const noexcept {
    return Code(0x8ABC7017u);
}

const char* InvalidArgument::what() const noexcept {
    return "Invalid argument(s)";
}
std::int32_t InvalidArgument::getErrorCode() const noexcept {
    return Code(0x8ABC700Fu);
}

const char* OutOfRange::what() const noexcept {
    return "Out of range";
}
std::int32_t OutOfRange::getErrorCode() const noexcept {
    return Code(0x8ABC7007u);
}

const char* InvalidSequence::what() const noexcept {
    return "Invalid UTF8 encoding sequence";
}
std::int32_t InvalidSequence::getErrorCode() const noexcept {
    return Code(0x8ABC7030u);
}

const char* InvalidLocale::what() const noexcept {
    return "Invalid locale";
}
std::int32_t InvalidLocale::getErrorCode() const noexcept {
    return Code(0x8ABC7024u);
}

} // namespace exception
} // namespace kit
} // namespace qx
