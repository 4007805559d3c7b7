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

// The whole memory pages under [data, data + bytes), as [first, last): empty when none.
struct WholePages {
  std::uintptr_t first = 0;
  std::uintptr_t last = 0;

  WholePages(void* data, std::size_t bytes) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    first = (begin + kPage - 1) & ~(kPage - 1);
    last = std::max(first, (begin + bytes) & ~(kPage - 1));
  }
  bool empty() const { return last == first; }
  // Advice that is refused changes nothing the caller relies on.
  void advise(std::uintptr_t from, std::uintptr_t to, int advice) const {
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, advice);
  }
};

}  // namespace

void releasePages(void* data, std::size_t bytes) {
  const WholePages pages(data, bytes);
  pages.advise(pages.first, pages.last, MADV_DONTNEED);
}

void keepFreedRoom() {
  ::mallopt(M_MMAP_THRESHOLD, kHeapBuffersUpTo);
  ::mallopt(M_TRIM_THRESHOLD, kKeptRoom);
}

void populatePages(void* data, std::size_t bytes) {
  const WholePages pages(data, bytes);
  if (bytes < kWorthAdvising || pages.empty()) return;
  // Halves on a huge-page boundary, so that neither faults in the other's huge page. Where
  // the kernel refuses, the pages are faulted in as they are written.
  const std::uintptr_t middle =
      std::clamp(((pages.first + pages.last) / 2) & ~(kHugePage - 1), pages.first, pages.last);
  runSideBySide([&] { pages.advise(middle, pages.last, MADV_POPULATE_WRITE); },
                [&] { pages.advise(pages.first, middle, MADV_POPULATE_WRITE); });
}

void adviseLargePages(void* data, std::size_t bytes) {
  if (bytes < kWorthAdvising) return;
  // Where huge pages are off, the buffer stays as it is.
  const WholePages pages(data, bytes);
  pages.advise(pages.first, pages.last, MADV_HUGEPAGE);
}

}  // namespace yentax
