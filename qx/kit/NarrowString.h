// The library's 8-bit string: an operating-system exception keeps its message in one, and
// the wide-to-narrow conversion writes into one. Always owns a zero-terminated block, the
// empty string included; copies are deep.
#ifndef QX_KIT_NARROWSTRING_H
#define QX_KIT_NARROWSTRING_H

#include <cstdint>

namespace qx {
namespace kit {

class NarrowString {
public:
    NarrowString() : NarrowString(static_cast<const char*>(nullptr)) {}
    // A null text counts as empty.
    explicit NarrowString(const char* text);
    NarrowString(const char* text, std::uint32_t length);
    NarrowString(const NarrowString& other);
    // Takes the other's block, capacity included (a copy would size the block by the length);
    // the moved-from string may only be destroyed or assigned to.
    NarrowString(NarrowString&& other) noexcept;
    NarrowString& operator=(const NarrowString& other);
    NarrowString& operator=(NarrowString&& other) noexcept;
    ~NarrowString();

    // An empty string with room for capacity characters and the terminator, to be filled
    // through data() and closed with setLength.
    static NarrowString withCapacity(std::uint32_t capacity);

    const char* c_str() const noexcept { return m_begin; }
    char* data() noexcept { return m_begin; }
    std::uint32_t length() const noexcept { return static_cast<std::uint32_t>(m_end - m_begin); }
    std::uint32_t capacity() const noexcept {
        return static_cast<std::uint32_t>(m_capacityEnd - m_begin);
    }
    // length must not exceed the capacity; terminates the text there.
    void setLength(std::uint32_t length) noexcept;

    void swap(NarrowString& other) noexcept;

private:
    struct Uninitialised {};
    explicit NarrowString(Uninitialised) noexcept {}
    void allocate(std::uint32_t capacity);

    char* m_begin = nullptr;
    char* m_end = nullptr;
    char* m_capacityEnd = nullptr;
};

} // namespace kit
} // namespace qx

#endif
