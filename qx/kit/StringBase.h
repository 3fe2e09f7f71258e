// The module's string of 16-bit units. It always owns a zero-terminated heap block, the
// empty string included; lengths count units and the length, not the terminator, is
// authoritative. Blocks are sized exactly except when appending, which doubles so that
// repeated appends cost amortised constant time. Every size computation is guarded.
#ifndef QX_KIT_STRINGBASE_H
#define QX_KIT_STRINGBASE_H

#include "qx/kit/NarrowString.h"

#include <cstdint>
#include <type_traits>

namespace qx {
namespace kit {

template <class Char, class NarrowChar, class WideChar>
class StringBase {
    static_assert(std::is_same_v<Char, char16_t> && std::is_same_v<WideChar, char16_t> &&
                      std::is_same_v<NarrowChar, char>,
                  "the library's wide string holds 16-bit units and widens 8-bit text");

public:
    // As a position: none. As a count: up to the end.
    static constexpr std::uint32_t npos = 0xFFFFFFFFu;

    StringBase() : StringBase(static_cast<const Char*>(nullptr)) {}
    // 8-bit text through the narrow-to-wide conversion; the empty locale name is the
    // default locale. A null text counts as empty.
    explicit StringBase(const NarrowChar* text, const char* localeName = "");
    // Units before the first zero; a null text counts as empty.
    explicit StringBase(const Char* text);
    StringBase(const Char* units, std::uint32_t count);
    StringBase(const StringBase& other);
    // count units from position, fewer if the text ends first. OutOfRange for a position
    // past the end or a position + count beyond 32 bits (npos never is).
    StringBase(const StringBase& source, std::uint32_t position, std::uint32_t count = npos);
    // first then second.
    StringBase(const StringBase& first, const StringBase& second);
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment): assign keeps units it already holds
    StringBase& operator=(const StringBase& other);
    ~StringBase();

    const Char* c_str() const noexcept { return m_begin; }
    std::uint32_t length() const noexcept { return static_cast<std::uint32_t>(m_end - m_begin); }
    std::uint32_t capacity() const noexcept {
        return static_cast<std::uint32_t>(m_capacityEnd - m_begin);
    }
    // No bounds test.
    Char& operator[](std::uint32_t index) noexcept { return m_begin[index]; }
    const Char& operator[](std::uint32_t index) const noexcept { return m_begin[index]; }

    // The first position at or after position that holds unit, or npos.
    std::uint32_t find(Char unit, std::uint32_t position = 0) const noexcept;

    int compareNoCase(const StringBase& other) const noexcept;
    // Texts of different lengths never compare equal, so they are told apart without
    // comparing a unit.
    bool equalsNoCase(const StringBase& other) const noexcept {
        return length() == other.length() && compareNoCase(other) == 0;
    }

    // Replaces the text with count units from units, which may lie in this string's own
    // block. The block shrinks when the new text needs less than half of it.
    StringBase& assign(const Char* units, std::uint32_t count);
    // units may lie in this string's own block.
    StringBase& append(const Char* units, std::uint32_t count);
    // Units before the first zero; a null text appends nothing.
    StringBase& append(const Char* text);

    // The text through the wide-to-narrow conversion under the default locale.
    NarrowString toNarrow() const;

private:
    void allocateExact(std::uint32_t capacity);
    void initFromUnits(const Char* units, std::uint32_t count);
    void growFor(std::uint32_t length);
    void setLength(std::uint32_t length) noexcept;
    bool inOwnBlock(const Char* pointer) const noexcept;

    Char* m_begin = nullptr;
    Char* m_end = nullptr;
    Char* m_capacityEnd = nullptr;
};

extern template class StringBase<char16_t, char, char16_t>;

using WideString = StringBase<char16_t, char, char16_t>;

} // namespace kit
} // namespace qx

#endif
