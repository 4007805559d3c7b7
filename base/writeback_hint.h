#pragma once

// Sends a file's bytes towards the disk while the rest of it is still being made, for a
// file whose flush waits for the end of a run.
//
//   WritebackHint writeback;
//   if (writeAllTo(fd, piece)) writeback.wrote(fd, piece.size());
//
// Each megabyte is started on its way at once, and every few megabytes the file is flushed
// on a thread of its own. A virtual disk may keep what it is given in its host's cache,
// so that a flush lasts as long as what was written since the last one takes to write
// out: flushed as it goes, the flush at the end finds little left.

#include <cstddef>
#include <future>

namespace yentax {

class WritebackHint {
 public:
  WritebackHint() = default;
  WritebackHint(const WritebackHint&) = delete;
  WritebackHint& operator=(const WritebackHint&) = delete;
  // Waits for a flush still under way.
  ~WritebackHint() = default;

  // After bytes more were written to fd; the file may be closed right after.
  void wrote(int fd, std::size_t bytes);

 private:
  std::size_t unsent_ = 0;
  std::size_t unflushed_ = 0;
  std::future<void> flushing_;  // the flush started last, on its own copy of the descriptor
};

}  // namespace yentax
