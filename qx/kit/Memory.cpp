#include "qx/kit/Memory.h"

#include <cstdlib>
#include <new>

namespace qx {
namespace kit {

namespace {
// realloc(p, 0) frees p on some runtimes and returns null, which a caller cannot tell from
// a failure that left p alone. Asking for one byte keeps one meaning for null: p is intact.
void* Resize(void* block, std::uint32_t size) noexcept {
    if (size != 0)
        return std::realloc(block, size);
    void* resized = std::realloc(block, 1);
    return resized != nullptr ? resized : block;
}
} // namespace

void* AllocateBlock(std::uint32_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void* ReallocateBlockRaw(void* block, std::uint32_t size) noexcept {
    return Resize(block, size);
}

void* ReallocateBlock(void* block, std::uint32_t size) {
    void* resized = Resize(block, size);
    if (resized == nullptr && size != 0)
        throw std::bad_alloc();
    return resized;
}

void ReleaseBlock(void* block) noexcept {
    if (block != nullptr)
        std::free(block);
}

} // namespace kit
} // namespace qx
