// Holds a program at the moment it opens a chosen file, so that a test can act on it
// there without waiting for any clock. Loaded with LD_PRELOAD: an open of a path that ends
// with $YENTAX_PAUSE_AT writes one byte to the socket $YENTAX_PAUSE_FD and waits for one
// byte back before the file is opened.

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

using OpenCall = int (*)(const char*, int, ...);

void pauseAt(const char* path) {
  const char* suffix = std::getenv("YENTAX_PAUSE_AT");
  const char* socket = std::getenv("YENTAX_PAUSE_FD");
  if (suffix == nullptr || socket == nullptr || path == nullptr) return;
  const std::size_t length = std::strlen(path);
  const std::size_t suffixLength = std::strlen(suffix);
  if (length < suffixLength || std::strcmp(path + length - suffixLength, suffix) != 0) return;
  const int fd = std::atoi(socket);
  char byte = 'p';
  while (::write(fd, &byte, 1) < 0 && errno == EINTR) {
  }
  while (::read(fd, &byte, 1) < 0 && errno == EINTR) {
  }
}

int openThrough(const char* name, const char* path, int flags, mode_t mode) {
  pauseAt(path);
  const auto real = reinterpret_cast<OpenCall>(::dlsym(RTLD_NEXT, name));
  return real(path, flags, mode);
}

mode_t modeOf(int flags, std::va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = modeOf(flags, arguments);
  va_end(arguments);
  return openThrough("open", path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = modeOf(flags, arguments);
  va_end(arguments);
  return openThrough("open64", path, flags, mode);
}
