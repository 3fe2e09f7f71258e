#include "qx/kit/osdep/OSException.h"

#include <cerrno>
#include <cstring>

namespace qx {
namespace kit {
namespace osdep {

namespace {
// strerror_r comes in two shapes: the GNU one returns the text (which may not be in the
// buffer), the XSI one fills the buffer and returns a status. Either way: the text.
[[maybe_unused]] const char* TextOf(const char* gnuResult, const char*) {
    return gnuResult;
}
// GCOVR_EXCL_START: the C library here has the GNU shape
[[maybe_unused]] const char* TextOf(int xsiStatus, const char* buffer) {
    return xsiStatus == 0 ? buffer : "Unknown error";
}
// GCOVR_EXCL_STOP

struct TextBuffer {
    char data[256] = {};
};

const char* SystemText(std::int32_t errorNumber, char* buffer) {
    return TextOf(strerror_r(errorNumber, buffer, sizeof TextBuffer::data), buffer);
}

constexpr std::int32_t k_noSuchFileOrDirectory = 2;
} // namespace

OSException::OSException(const char* message, std::int32_t osCode, const char* file,
                         std::int32_t line)
    : Exception(file, line), m_message(message), m_osCode(osCode) {}

OSException::~OSException() = default;

const char* OSException::what() const noexcept {
    return m_message.c_str();
}
std::int32_t OSException::getErrorCode() const noexcept {
    return 42;
}
std::int32_t OSException::whatcode() const noexcept {
    return m_osCode;
}

PosixError::PosixError() : PosixError(errno) {}

PosixError::PosixError(std::int32_t errorNumber)
    : OSException(SystemText(errorNumber, TextBuffer().data), errorNumber) {}

PosixError::PosixError(const PosixError& error, const char* file, std::int32_t line)
    : PosixError(error) {
    setSource(file, line);
}

PosixError::~PosixError() = default;

std::int32_t PosixError::getErrorCode() const noexcept {
    if (whatcode() == 0)
        return 0;
    return whatcode() == k_noSuchFileOrDirectory ? 7 : 42;
}

void RaisePosixError(const RaiseSite& site) {
    throw PosixError(PosixError(), site.file, site.line);
}

} // namespace osdep
} // namespace kit
} // namespace qx
