// The heap primitives through which the string code gets and returns its blocks. Sizes are
// 32-bit byte counts, already checked by the guarded arithmetic of SafeInteger.
#ifndef QX_KIT_MEMORY_H
#define QX_KIT_MEMORY_H

#include <cstdint>

namespace qx {
namespace kit {

// malloc; throws std::bad_alloc instead of returning null.
void* AllocateBlock(std::uint32_t size);

// realloc, a null result handed back for the caller to decide; after a null the old block is
// still valid. A request for 0 bytes leaves the caller a valid block (perhaps the old one).
void* ReallocateBlockRaw(void* block, std::uint32_t size) noexcept;

// realloc; throws std::bad_alloc when a non-empty request fails, leaving block valid.
// A request for 0 bytes never throws and never frees the block behind the caller's back.
void* ReallocateBlock(void* block, std::uint32_t size);

// free; null is allowed.
void ReleaseBlock(void* block) noexcept;

} // namespace kit
} // namespace qx

#endif
