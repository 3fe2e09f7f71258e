#include "qx/kit/StringBase.h"

#include "qx/kit/CompareNoCase.h"
#include "qx/kit/Exception.h"
#include "qx/kit/Memory.h"
#include "qx/kit/NumericCast.h"
#include "qx/kit/SafeInteger.h"
#include "qx/kit/WideTextLength.h"
#include "qx/kit/osdep/AnsiToWide.h"
#include "qx/kit/osdep/WideToAnsi.h"

#include <cassert>
#include <cstring>
#include <functional>

namespace qx {
namespace kit {

namespace {
constexpr std::uint32_t k_defaultCodePage = 0;
constexpr const char* k_defaultLocale = "";
} // namespace

template <class C, class N, class W>
void StringBase<C, N, W>::allocateExact(std::uint32_t capacity) {
    m_begin = static_cast<C*>(AllocateBlock(SafeUnitBlockBytes(capacity)));
    m_end = m_begin;
    m_capacityEnd = m_begin + capacity;
    *m_end = 0;
}

template <class C, class N, class W>
void StringBase<C, N, W>::initFromUnits(const C* units, std::uint32_t count) {
    allocateExact(count);
    if (count != 0)
        std::memcpy(m_begin, units, std::size_t{count} * sizeof(C));
    setLength(count);
}

template <class C, class N, class W>
void StringBase<C, N, W>::setLength(std::uint32_t length) noexcept {
    m_end = m_begin + length;
    *m_end = 0;
}

template <class C, class N, class W>
bool StringBase<C, N, W>::inOwnBlock(const C* pointer) const noexcept {
    const std::less_equal<const C*> notAfter;
    return pointer != nullptr && notAfter(m_begin, pointer) && notAfter(pointer, m_capacityEnd);
}

template <class C, class N, class W>
StringBase<C, N, W>::StringBase(const N* text, const char* localeName) {
    const N* const first = text != nullptr ? text : "";
    const std::uint32_t bytes = NumericCast<std::uint32_t>(std::strlen(first));
    if (bytes == 0) {
        allocateExact(0);
        return;
    }
    const std::uint32_t units = osdep::AnsiToWideLength(first, first + bytes, k_defaultCodePage);
    allocateExact(units);
    C* end = m_begin + units;
    try {
        osdep::AnsiToWide(first, first + bytes, localeName, k_defaultCodePage, m_begin, &end);
    } catch (...) {
        ReleaseBlock(m_begin); // the string is not made, so no destructor will
        throw;
    }
    setLength(static_cast<std::uint32_t>(end - m_begin));
}

template <class C, class N, class W>
StringBase<C, N, W>::StringBase(const C* text) {
    initFromUnits(text, text != nullptr ? WideTextLength(text) : 0);
}

template <class C, class N, class W>
StringBase<C, N, W>::StringBase(const C* units, std::uint32_t count) {
    initFromUnits(units, count);
}

template <class C, class N, class W>
StringBase<C, N, W>::StringBase(const StringBase& other) {
    initFromUnits(other.m_begin, other.length());
}

template <class C, class N, class W>
StringBase<C, N, W>::StringBase(const StringBase& source, std::uint32_t position,
                                std::uint32_t count) {
    if (position > source.length())
        throw exception::OutOfRange(raise_site::k_substringPosition);
    std::uint32_t taken = source.length() - position;
    if (count != npos && SafeAdd(position, count) <= source.length())
        taken = count;
    initFromUnits(source.m_begin + position, taken);
}

template <class C, class N, class W>
StringBase<C, N, W>::StringBase(const StringBase& first, const StringBase& second) {
    allocateExact(SafeAdd(first.length(), second.length()));
    std::memcpy(m_begin, first.m_begin, std::size_t{first.length()} * sizeof(C));
    std::memcpy(m_begin + first.length(), second.m_begin, std::size_t{second.length()} * sizeof(C));
    setLength(capacity());
}

template <class C, class N, class W>
// NOLINTNEXTLINE(bugprone-unhandled-self-assignment): assign keeps units it already holds
StringBase<C, N, W>& StringBase<C, N, W>::operator=(const StringBase& other) {
    return assign(other.m_begin, other.length());
}

template <class C, class N, class W>
StringBase<C, N, W>::~StringBase() {
    ReleaseBlock(m_begin);
    m_begin = nullptr;
}

template <class C, class N, class W>
std::uint32_t StringBase<C, N, W>::find(C unit, std::uint32_t position) const noexcept {
    for (std::uint32_t i = position; i < length(); ++i)
        if (m_begin[i] == unit)
            return i;
    return npos;
}

template <class C, class N, class W>
int StringBase<C, N, W>::compareNoCase(const StringBase& other) const noexcept {
    return CompareNoCase(m_begin, length(), other.m_begin, other.length());
}

template <class C, class N, class W>
StringBase<C, N, W>& StringBase<C, N, W>::assign(const C* units, std::uint32_t count) {
    if (units == m_begin) {
        if (count < length())
            setLength(count);
        return *this;
    }
    if (inOwnBlock(units)) {
        const StringBase copy(units, count); // the block may move or shrink under the text
        return assign(copy.m_begin, count);
    }
    assert((units != nullptr || count == 0) && "a null text has no units to assign");
    const std::uint32_t bytes = SafeUnitBlockBytes(count);
    if (count > capacity() || std::uint64_t{count} * 2 < capacity()) {
        m_begin = static_cast<C*>(ReallocateBlock(m_begin, bytes));
        m_capacityEnd = m_begin + count;
    }
    if (count != 0)
        std::memcpy(m_begin, units, std::size_t{count} * sizeof(C));
    setLength(count);
    return *this;
}

// Room for length units: first twice that, then, if the doubled size does not fit 32 bits
// or memory, exactly that.
template <class C, class N, class W>
void StringBase<C, N, W>::growFor(std::uint32_t length) {
    const std::uint32_t kept = this->length();
    std::uint32_t capacity = 0;
    void* block = nullptr;
    try {
        capacity = SafeDouble(length);
        block = ReallocateBlockRaw(m_begin, SafeUnitBlockBytes(capacity));
    } catch (const exception::OutOfRange&) { // GCOVR_EXCL_LINE: a text of 2^30 units, 2 GiB
        block = nullptr;                     // GCOVR_EXCL_LINE
    }
    if (block == nullptr) {
        capacity = length;
        block = ReallocateBlock(m_begin, SafeUnitBlockBytes(capacity));
    }
    m_begin = static_cast<C*>(block);
    m_end = m_begin + kept;
    m_capacityEnd = m_begin + capacity;
}

template <class C, class N, class W>
StringBase<C, N, W>& StringBase<C, N, W>::append(const C* units, std::uint32_t count) {
    if (count == 0)
        return *this;
    // Text from this string's own block is found again after the block moves.
    const bool own = inOwnBlock(units);
    const std::size_t offset = own ? static_cast<std::size_t>(units - m_begin) : 0;
    if (static_cast<std::uint32_t>(m_capacityEnd - m_end) < count)
        growFor(SafeAdd(length(), count));
    if (own)
        units = m_begin + offset;
    std::memmove(m_end, units, std::size_t{count} * sizeof(C));
    setLength(length() + count);
    return *this;
}

template <class C, class N, class W>
StringBase<C, N, W>& StringBase<C, N, W>::append(const C* text) {
    return text == nullptr ? *this : append(text, WideTextLength(text));
}

template <class C, class N, class W>
NarrowString StringBase<C, N, W>::toNarrow() const {
    if (length() == 0)
        return NarrowString();
    const std::uint32_t bytes = osdep::WideToAnsiLength(m_begin, m_end, k_defaultCodePage);
    // On a failed conversion the narrow string's destructor releases the new block.
    NarrowString narrow = NarrowString::withCapacity(bytes);
    char* end = narrow.data() + bytes;
    osdep::WideToAnsi(m_begin, m_end, k_defaultLocale, k_defaultCodePage, narrow.data(), &end);
    narrow.setLength(static_cast<std::uint32_t>(end - narrow.data()));
    return narrow;
}

template class StringBase<char16_t, char, char16_t>;

} // namespace kit
} // namespace qx
