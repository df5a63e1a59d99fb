#include "text/large_block.h"

#include <sys/mman.h>

#include <new>

namespace vantrel::text {
namespace {

std::size_t mappedBytes(std::size_t bytes) { return (bytes + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1); }

}  // namespace

void* allocateBlock(std::size_t bytes) {
    if (bytes < kLargeBlockBytes) return ::operator new(bytes);
    void* block = ::mmap(nullptr, mappedBytes(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    // Advice only: without huge pages the block works the same.
    ::madvise(block, mappedBytes(bytes), MADV_HUGEPAGE);
    return block;
}

void freeBlock(void* block, std::size_t bytes) noexcept {
    if (!block) return;
    if (bytes < kLargeBlockBytes) {
        ::operator delete(block);
        return;
    }
    ::munmap(block, mappedBytes(bytes));
}

}  // namespace vantrel::text
