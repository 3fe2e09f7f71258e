// Wide strings that cross the module boundary: one heap block holding a 32-bit count of
// 16-bit units, the units and a zero unit. The pointer handed out points at the first unit;
// the receiver frees the block with FreeWideString (or free() four bytes below the pointer).
#ifndef QX_COM_WIDESTRING_H
#define QX_COM_WIDESTRING_H

#include <cstdint>

static_assert(sizeof(char16_t) == 2, "a wide unit is 16 bits on every target");

// Null for a null s, an oversized text or no memory; never throws.
char16_t* AllocWideString(const char16_t* s);
// The same block for a text whose length is known: count units from units, then a zero.
// Null for an oversized count or no memory; never throws.
char16_t* AllocWideStringOfUnits(const char16_t* units, std::uint32_t count);
void FreeWideString(char16_t* s);

// ((units + 1) * 2) + 4, every step checked against 32 bits: OutOfRange when it overflows.
std::uint32_t WideStringBlockBytes(std::uint32_t units);

// The count of units stored in front of a block made by AllocWideString.
std::uint32_t WideStringLength(const char16_t* s);

#endif
