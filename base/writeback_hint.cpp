#include "base/writeback_hint.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <system_error>
#include <tuple>

namespace yentax {

void WritebackHint::wrote(int fd, std::size_t bytes) {
  constexpr std::size_t kSendEvery = std::size_t{1} << 20;
  constexpr std::size_t kFlushEvery = std::size_t{4} << 20;
  unsent_ += bytes;
  unflushed_ += bytes;
  if (unsent_ >= kSendEvery) {
    // The whole file: pages already on their way are passed over.
    std::ignore = ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    unsent_ = 0;
  }
  if (unflushed_ < kFlushEvery) return;
  if (flushing_.valid() &&
      flushing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    return;
  }
  // A copy of the descriptor, so that the caller may close its own meanwhile.
  const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return;
  try {
    flushing_ = std::async(std::launch::async, [copy] {
      std::ignore = ::fdatasync(copy);
      ::close(copy);
    });
    unflushed_ = 0;
  } catch (const std::system_error&) {
    // Without a thread the flush is left to the end.
    ::close(copy);
  }
}

}  // namespace yentax
