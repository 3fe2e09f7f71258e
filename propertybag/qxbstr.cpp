#include "propertybag/qxbstr.h"

#include "com/widestring.h"

#include <cassert>
#include <memory>
#include <utility>

CqxBStr::CqxBStr(const char16_t* text, bool attach)
    : m_string(attach ? const_cast<char16_t*>(text) : AllocWideString(text)) {}

CqxBStr::CqxBStr(const CqxBStr& other) : m_string(AllocWideString(other.m_string)) {}

CqxBStr::CqxBStr(CqxBStr&& other) noexcept : m_string(other.Detach()) {}

// NOLINTNEXTLINE(bugprone-unhandled-self-assignment): Assign keeps a text it already holds
CqxBStr& CqxBStr::operator=(const CqxBStr& other) {
    Assign(other.m_string);
    return *this;
}

CqxBStr& CqxBStr::operator=(CqxBStr&& other) noexcept {
    if (this != std::addressof(other)) {
        Empty();
        m_string = other.Detach();
    }
    return *this;
}

CqxBStr::~CqxBStr() {
    Empty();
}

bool CqxBStr::Assign(const char16_t* text) {
    if (text == m_string)
        return true;
    // Copy first, release after: a copy that fails leaves the old string in place, and a
    // text that points into the old string is read before that string goes.
    char16_t* copy = AllocWideString(text);
    if (text != nullptr && copy == nullptr)
        return false;
    FreeWideString(m_string);
    m_string = copy;
    return true;
}

char16_t* CqxBStr::Detach() {
    return std::exchange(m_string, nullptr);
}

void CqxBStr::Empty() {
    FreeWideString(Detach());
}

char16_t** CqxBStr::put() {
    assert(m_string == nullptr && "put() on a holder that still holds a string; Empty() it first");
    Empty();
    return &m_string;
}
