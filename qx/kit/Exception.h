// The support library's failures: one small tree rooted in std::exception. Each class fixes
// its message and code; every object also records the source file and line that raised it.
#ifndef QX_KIT_EXCEPTION_H
#define QX_KIT_EXCEPTION_H

#include "qx/kit/RaiseSite.h"

#include <cstdint>
#include <exception>

namespace qx {
namespace kit {
namespace exception {

class Exception : public std::exception {
public:
    // file is a static literal and is not owned; null and 0 mean "not given".
    explicit Exception(const char* file = nullptr, std::int32_t line = 0) noexcept
        : m_line(line), m_file(file) {}
    // Raised from one of the library's sites.
    explicit Exception(const RaiseSite& site) noexcept : Exception(site.file, site.line) {}
    Exception(const Exception&) noexcept = default;
    Exception& operator=(const Exception&) noexcept = default;
    ~Exception() override;

    const char* what() const noexcept override;
    virtual std::int32_t getErrorCode() const noexcept;

    std::int32_t getLine() const noexcept { return m_line; }
    const char* getFile() const noexcept { return m_file; }

protected:
    // Raising sites that copy a prepared object re-stamp it with their own place.
    void setSource(const char* file, std::int32_t line) noexcept {
        m_file = file;
        m_line = line;
    }

private:
    std::int32_t m_line;
    const char* m_file;
};

class BufferOverflow : public Exception {
public:
    using Exception::Exception;
    const char* what() const noexcept override;
    std::int32_t getErrorCode() const noexcept override;
};

// Part of the tree as a type only: nothing in the library raises it.
class DeserializationError : public Exception {
public:
    using Exception::Exception;
};

class InvalidArgument : public Exception {
public:
    using Exception::Exception;
    const char* what() const noexcept override;
    std::int32_t getErrorCode() const noexcept override;
};

class InvalidArgument2 : public InvalidArgument {
public:
    using InvalidArgument::InvalidArgument;
};

class OutOfRange : public Exception {
public:
    using Exception::Exception;
    const char* what() const noexcept override;
    std::int32_t getErrorCode() const noexcept override;
};

class OutOfRange2 : public OutOfRange {
public:
    using OutOfRange::OutOfRange;
};

class BoundExceeded : public Exception {
public:
    using Exception::Exception;
};

class BoundExceeded2 : public BoundExceeded {
public:
    using BoundExceeded::BoundExceeded;
};

class InvalidSequence : public Exception {
public:
    using Exception::Exception;
    const char* what() const noexcept override;
    std::int32_t getErrorCode() const noexcept override;
};

class InvalidLocale : public Exception {
public:
    using Exception::Exception;
    const char* what() const noexcept override;
    std::int32_t getErrorCode() const noexcept override;
};

} // namespace exception
} // namespace kit
} // namespace qx

#endif
