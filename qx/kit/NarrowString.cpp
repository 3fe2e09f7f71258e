#include "qx/kit/NarrowString.h"

#include "qx/kit/Memory.h"
#include "qx/kit/NumericCast.h"
#include "qx/kit/SafeInteger.h"

#include <cassert>
#include <cstring>
#include <utility>

namespace qx {
namespace kit {

void NarrowString::allocate(std::uint32_t capacity) {
    m_begin = static_cast<char*>(AllocateBlock(SafeAdd(capacity, 1)));
    m_end = m_begin;
    m_capacityEnd = m_begin + capacity;
    *m_end = '\0';
}

NarrowString::NarrowString(const char* text)
    : NarrowString(text, text == nullptr ? 0 : NumericCast<std::uint32_t>(std::strlen(text))) {}

NarrowString::NarrowString(const char* text, std::uint32_t length) {
    allocate(length);
    if (length != 0)
        std::memcpy(m_begin, text, length);
    setLength(length);
}

NarrowString::NarrowString(const NarrowString& other)
    : NarrowString(other.m_begin, other.length()) {}

NarrowString::NarrowString(NarrowString&& other) noexcept {
    swap(other);
}

NarrowString& NarrowString::operator=(const NarrowString& other) {
    NarrowString copy(other);
    swap(copy);
    return *this;
}

NarrowString& NarrowString::operator=(NarrowString&& other) noexcept {
    swap(other);
    return *this;
}

NarrowString::~NarrowString() {
    ReleaseBlock(m_begin);
    m_begin = nullptr;
}

NarrowString NarrowString::withCapacity(std::uint32_t capacity) {
    NarrowString string{Uninitialised{}};
    string.allocate(capacity);
    return string;
}

void NarrowString::setLength(std::uint32_t length) noexcept {
    assert(length <= capacity() && "a narrow string's text must fit its block");
    m_end = m_begin + length;
    *m_end = '\0';
}

void NarrowString::swap(NarrowString& other) noexcept {
    std::swap(m_begin, other.m_begin);
    std::swap(m_end, other.m_end);
    std::swap(m_capacityEnd, other.m_capacityEnd);
}

} // namespace kit
} // namespace qx
