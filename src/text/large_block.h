#pragma once
// Memory for the few big buffers of a load (a whole file, its parsed numbers,
// a mesh's vertices): from 2 MiB on, a private mapping the kernel may back
// with huge pages, so that tens of MiB cost a few dozen page faults instead
// of thousands. Smaller blocks come from operator new as usual.

#include <cstddef>

namespace vantrel::text {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

// Throws std::bad_alloc when the memory cannot be had.
void* allocateBlock(std::size_t bytes);
// `bytes` must be the size the block was allocated with.
void freeBlock(void* block, std::size_t bytes) noexcept;

}  // namespace vantrel::text
