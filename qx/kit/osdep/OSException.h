// Failures reported by the operating system: the library's exception with the system's own
// error number and its text beside it.
#ifndef QX_KIT_OSDEP_OSEXCEPTION_H
#define QX_KIT_OSDEP_OSEXCEPTION_H

#include "qx/kit/Exception.h"
#include "qx/kit/NarrowString.h"

#include <cstdint>

namespace qx {
namespace kit {
namespace osdep {

class OSException : public exception::Exception {
public:
    OSException(const char* message, std::int32_t osCode, const char* file = nullptr,
                std::int32_t line = 0);
    OSException(const OSException&) = default;
    OSException& operator=(const OSException&) = default;
    ~OSException() override;

    // The system's text for the error.
    const char* what() const noexcept override;
    std::int32_t getErrorCode() const noexcept override;
    // The system's error number.
    virtual std::int32_t whatcode() const noexcept;

private:
    NarrowString m_message;
    std::int32_t m_osCode;
};

class PosixError : public OSException {
public:
    // Takes errno as it stands: read once, so the text and the number agree.
    PosixError();
    explicit PosixError(std::int32_t errorNumber);
    // A copy of error stamped with the place that raises it.
    PosixError(const PosixError& error, const char* file, std::int32_t line);
    PosixError(const PosixError&) = default;
    PosixError& operator=(const PosixError&) = default;
    ~PosixError() override;

    // 0 for no error, 7 for a missing file or directory, 42 for every other error.
    std::int32_t getErrorCode() const noexcept override;
};

// Throws a PosixError for the errno the failing call just left, stamped with the site.
[[noreturn]] void RaisePosixError(const RaiseSite& site);

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
