// The owning holder of one boundary wide string (AllocWideString / FreeWideString), or of
// none: null is a valid content, distinct from the empty string. Copies never throw; a copy
// that cannot be allocated is null, and a failed assignment keeps the old string.
#ifndef QX_PROPERTYBAG_QXBSTR_H
#define QX_PROPERTYBAG_QXBSTR_H

class CqxBStr {
public:
    CqxBStr() = default;
    // attach: take ownership of text as given (a boundary block or null). Otherwise copy a
    // non-null text.
    CqxBStr(const char16_t* text, bool attach);
    CqxBStr(const CqxBStr& other);
    CqxBStr(CqxBStr&& other) noexcept;
    CqxBStr& operator=(const CqxBStr& other);
    CqxBStr& operator=(CqxBStr&& other) noexcept;
    ~CqxBStr();

    // Holds a copy of text (null for null). False when a non-null text cannot be copied;
    // the holder then keeps what it had.
    bool Assign(const char16_t* text);

    // The caller owns the returned string; the holder becomes null.
    char16_t* Detach();
    void Empty();

    bool IsNull() const { return m_string == nullptr; }
    operator const char16_t*() const { return m_string; }
    // The empty slot, for an operation that writes a newly allocated string into it.
    // Lending a slot that still holds a string is a caller error: the operation would
    // overwrite it unreleased. Debug builds stop on it; other builds release the string
    // first rather than lose it.
    char16_t** put();
    // The same as put().
    char16_t** operator&() { return put(); }

private:
    char16_t* m_string = nullptr;
};

#endif
