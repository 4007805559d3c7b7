#include "base/large_buffer.h"

#include <sys/mman.h>

#include <cstdint>

namespace yentax {

namespace {

// Below a few huge pages the advice saves nothing.
constexpr std::size_t kWorthAdvising = std::size_t{4} << 20;
constexpr std::uintptr_t kPage = 4096;

}  // namespace

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
