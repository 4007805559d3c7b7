#include "base/large_buffer.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>

namespace yentax {

namespace {

// Below a few huge pages the advice saves nothing.
constexpr std::size_t kWorthAdvising = std::size_t{4} << 20;
constexpr std::uintptr_t kPage = 4096;
// Buffers up to this size come from the heap and go back to it.
constexpr int kHeapBuffersUpTo = 4 << 20;
// Freed room kept at the heap's top before any is handed back.
constexpr int kKeptRoom = 64 << 20;

}  // namespace

void releasePages(void* data, std::size_t bytes) {
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kPage - 1) & ~(kPage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kPage - 1);
  if (last <= first) return;
  // Refused advice only keeps the pages.
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

void keepFreedRoom() {
  ::mallopt(M_MMAP_THRESHOLD, kHeapBuffersUpTo);
  ::mallopt(M_TRIM_THRESHOLD, kKeptRoom);
}

void adviseLargePages(void* data, std::size_t bytes) {
  if (bytes < kWorthAdvising) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kPage - 1) & ~(kPage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kPage - 1);
  if (last <= first) return;
  // Refused advice (huge pages off, an old kernel) leaves the buffer as it is.
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace yentax
