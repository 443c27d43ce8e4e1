#include "common/large_arrays.h"

#include <sys/mman.h>

#include <cstdint>

namespace kvr {
namespace {

std::size_t rounded_up(std::size_t bytes) {
  return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
}

}  // namespace

void* allocate_large(std::size_t bytes) {
  if (bytes < kHugePageBytes) return ::operator new(bytes, std::nothrow);
  // A mapping one huge page longer than needed, cut down to the aligned part.
  const std::size_t size = rounded_up(bytes);
  const std::size_t mapped = size + kHugePageBytes;
  void* map = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(map);
  const std::uintptr_t aligned = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  if (aligned > start) ::munmap(map, aligned - start);
  const std::uintptr_t tail = aligned + size;
  if (start + mapped > tail) ::munmap(reinterpret_cast<void*>(tail), start + mapped - tail);
  // Only a hint: where the kernel has no huge pages to give, the block works as it is.
  (void)::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void free_large(void* block, std::size_t bytes) {
  if (block == nullptr) return;
  if (bytes < kHugePageBytes) {
    ::operator delete(block);
    return;
  }
  ::munmap(block, rounded_up(bytes));
}

}  // namespace kvr
