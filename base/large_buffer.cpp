#include "base/large_buffer.h"

#include <malloc.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

#include "base/side_by_side.h"

namespace yentax {

namespace {

// Below a few huge pages the advice saves nothing.
constexpr std::size_t kWorthAdvising = std::size_t{4} << 20;
constexpr std::uintptr_t kPage = 4096;
constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
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

void populatePages(void* data, std::size_t bytes) {
  if (bytes < kWorthAdvising) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kPage - 1) & ~(kPage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kPage - 1);
  if (last <= first) return;
  // Halves on a huge-page boundary, so that neither faults in the other's huge page.
  const std::uintptr_t middle = std::clamp(((first + last) / 2) & ~(kHugePage - 1), first, last);
  // Refused advice (an old kernel) leaves the pages to be faulted in as they are written.
  runSideBySide(
      [&] { ::madvise(reinterpret_cast<void*>(middle), last - middle, MADV_POPULATE_WRITE); },
      [&] { ::madvise(reinterpret_cast<void*>(first), middle - first, MADV_POPULATE_WRITE); });
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
