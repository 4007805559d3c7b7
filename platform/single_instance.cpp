#include "platform/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace yentax {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRequest = "raise\n";
// A client writes its request right after connecting; this only guards against one that never does.
constexpr int kRequestWaitMs = 500;

std::uint64_t pathHash(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string hex16(std::uint64_t value) {
  static const char digits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[i] = digits[value & 0xF];
  return text;
}

std::optional<sockaddr_un> socketAddress(const std::string& path) {
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return std::nullopt;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// A shared /tmp folder is used only when it is ours alone, so that no other user can
// plant or read the socket.
std::optional<std::string> privateTmpFolder() {
  const std::string folder = "/tmp/yentax-" + std::to_string(geteuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
      (info.st_mode & 077) != 0) {
    return std::nullopt;
  }
  return folder;
}

bool fromOwnUser(int connection) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
         credentials.uid == geteuid();
}

bool readsActivationRequest(int connection) {
  pollfd waiting{connection, POLLIN, 0};
  if (poll(&waiting, 1, kRequestWaitMs) <= 0) return false;
  char buffer[16];
  const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
  return got >= static_cast<ssize_t>(kRequest.size()) &&
         std::string_view(buffer, kRequest.size()) == kRequest;
}

}  // namespace

std::vector<pid_t> listProcessesByImagePath(const std::string& executablePath, pid_t excludedPid) {
  std::vector<pid_t> found;
  if (executablePath.empty()) return found;
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const char* const nameEnd = name.data() + name.size();
    pid_t pid = 0;
    const auto parsed = std::from_chars(name.data(), nameEnd, pid);
    if (parsed.ec != std::errc() || parsed.ptr != nameEnd || pid == excludedPid) continue;
    std::error_code linkError;
    const auto image = fs::read_symlink(it->path() / "exe", linkError);
    if (!linkError && image.string() == executablePath) found.push_back(pid);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::optional<pid_t> FindProcessByImagePath(const std::string& executablePath, pid_t excludedPid) {
  const auto found = listProcessesByImagePath(executablePath, excludedPid);
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::optional<std::string> instanceSocketPath(const std::string& executablePath,
                                              const EnvironmentLookup& env) {
  std::optional<std::string> folder;
  if (auto runtime = env("XDG_RUNTIME_DIR");
      runtime && !runtime->empty() && runtime->front() == '/') {
    std::error_code ec;
    if (fs::is_directory(*runtime, ec)) folder = *runtime;
  }
  if (!folder) folder = privateTmpFolder();
  if (!folder) return std::nullopt;
  std::string path = *folder;
  if (path.back() != '/') path += '/';
  path += "yentax-" + hex16(pathHash(executablePath)) + ".sock";
  if (!socketAddress(path)) return std::nullopt;
  return path;
}

std::optional<InstanceListener> InstanceListener::listen(const std::string& socketPath) {
  const auto address = socketAddress(socketPath);
  if (!address) return std::nullopt;
  struct stat existing {};
  if (lstat(socketPath.c_str(), &existing) == 0) {
    // Never remove anything but a socket.
    if (!S_ISSOCK(existing.st_mode) || unlink(socketPath.c_str()) != 0) return std::nullopt;
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return std::nullopt;
  struct stat bound {};
  if (bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
      ::listen(fd, 8) != 0 || stat(socketPath.c_str(), &bound) != 0) {
    close(fd);
    return std::nullopt;
  }
  return InstanceListener(fd, socketPath, bound.st_ino);
}

InstanceListener::InstanceListener(InstanceListener&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), inode_(other.inode_) {
  other.fd_ = -1;
}

InstanceListener& InstanceListener::operator=(InstanceListener&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    inode_ = other.inode_;
    other.fd_ = -1;
  }
  return *this;
}

InstanceListener::~InstanceListener() { release(); }

void InstanceListener::release() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  // A later instance may have taken the name over; its socket stays.
  struct stat current {};
  if (stat(path_.c_str(), &current) == 0 && current.st_ino == inode_) unlink(path_.c_str());
}

bool InstanceListener::takeActivationRequests() {
  bool requested = false;
  while (fd_ >= 0) {
    const int connection = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fromOwnUser(connection) && readsActivationRequest(connection)) requested = true;
    close(connection);
  }
  return requested;
}

bool requestActivation(const std::string& socketPath) {
  const auto address = socketAddress(socketPath);
  if (!address) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  const bool sent =
      connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0 &&
      send(fd, kRequest.data(), kRequest.size(), MSG_NOSIGNAL) ==
          static_cast<ssize_t>(kRequest.size());
  close(fd);
  return sent;
}

bool ActivateRunningInstance(const std::string& executablePath, const std::string& socketPath) {
  if (!FindProcessByImagePath(executablePath, getpid())) return false;
  return requestActivation(socketPath);
}

}  // namespace yentax
