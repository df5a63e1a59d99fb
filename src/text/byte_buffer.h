#pragma once
// A vector of bytes that does not zero what it grows by: a whole file read
// into it (tens of MiB for a large mesh) is written once, by the read. Big
// ones live in large blocks (see large_block.h).

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "text/large_block.h"

namespace vantrel::text {

template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { freeBlock(p, n * sizeof(T)); }
    // Value-construction without arguments leaves the byte as it is.
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using ByteBuffer = std::vector<char, UninitialisedAllocator<char>>;

}  // namespace vantrel::text
