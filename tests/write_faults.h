#pragma once

// Writers for the write seam of base/whole_file.h: one that fails at once, one that
// writes half of what it is given and then fails, one that kills the process half-way.
//
//   const ScopedWriter full(failingWriter(ENOSPC));  // every write now fails, until scope end
//
// A writer may be limited to files whose path contains a word, so that one write of a run
// fails and the others go through.

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <string>
#include <utility>

#include "base/whole_file.h"

namespace yentax {

inline std::string pathOfDescriptor(int fd) {
  char target[PATH_MAX] = {};
  const auto link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = ::readlink(link.c_str(), target, sizeof(target) - 1);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

inline ssize_t plainWrite(int fd, const char* data, std::size_t size) {
  return ::write(fd, data, size);
}

// Applies fault only to files whose path contains word.
inline WriteCall onlyFor(const std::string& word, WriteCall fault) {
  return [word, fault](int fd, const char* data, std::size_t size) {
    return pathOfDescriptor(fd).find(word) != std::string::npos ? fault(fd, data, size)
                                                                : plainWrite(fd, data, size);
  };
}

inline WriteCall failingWriter(int error) {
  return [error](int, const char*, std::size_t) -> ssize_t {
    errno = error;
    return -1;
  };
}

inline WriteCall halfWriter(int error) {
  return [error](int fd, const char* data, std::size_t size) -> ssize_t {
    if (::lseek(fd, 0, SEEK_CUR) > 0) {
      errno = error;
      return -1;
    }
    return plainWrite(fd, data, size / 2);
  };
}

inline WriteCall killingWriter() {
  return [](int fd, const char* data, std::size_t size) -> ssize_t {
    if (::lseek(fd, 0, SEEK_CUR) > 0) ::raise(SIGKILL);
    return plainWrite(fd, data, size / 2);
  };
}

class ScopedWriter {
 public:
  explicit ScopedWriter(WriteCall call) : previous_(exchangeWriteCall(std::move(call))) {}
  ScopedWriter(const ScopedWriter&) = delete;
  ScopedWriter& operator=(const ScopedWriter&) = delete;
  ~ScopedWriter() { exchangeWriteCall(std::move(previous_)); }

 private:
  WriteCall previous_;
};

}  // namespace yentax
