#include "io/free_memory.h"

#include <cstdlib>  // defines __GLIBC__ with the C library's other macros

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kvr {

void release_free_memory(std::size_t freed_bytes) {
  if (freed_bytes < kMemoryWorthReleasing) return;
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace kvr
