#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/program_location.h"

namespace yentax {

// Every running process, other than excludedPid, whose executable is exactly
// executablePath (as /proc/<pid>/exe shows it), in process-id order. Processes that
// cannot be inspected are left out.
std::vector<pid_t> listProcessesByImagePath(const std::string& executablePath, pid_t excludedPid);

// The first of those, or nothing.
std::optional<pid_t> FindProcessByImagePath(const std::string& executablePath, pid_t excludedPid);

// Where the instances of one executable meet: a socket in the user's runtime folder
// ($XDG_RUNTIME_DIR, else a private /tmp/yentax-<uid>), its name made from a hash of
// the executable path so that a copy elsewhere has its own. Nothing when no safe
// folder can be had.
std::optional<std::string> instanceSocketPath(const std::string& executablePath,
                                              const EnvironmentLookup& env = systemEnvironment);

// The running instance listens for requests to come to the front. The descriptor is
// for the display's event loop: it becomes readable when a request waits.
class InstanceListener {
 public:
  // Replaces a socket left behind by an instance that has ended.
  static std::optional<InstanceListener> listen(const std::string& socketPath);

  InstanceListener(InstanceListener&& other) noexcept;
  InstanceListener& operator=(InstanceListener&& other) noexcept;
  InstanceListener(const InstanceListener&) = delete;
  InstanceListener& operator=(const InstanceListener&) = delete;
  ~InstanceListener();

  int descriptor() const { return fd_; }
  // Takes every waiting request without blocking on new ones; true when at least one
  // asked for the window to come to the front.
  bool takeActivationRequests();

 private:
  InstanceListener(int fd, std::string path, ino_t inode)
      : fd_(fd), path_(std::move(path)), inode_(inode) {}
  void release();

  int fd_ = -1;
  std::string path_;
  ino_t inode_ = 0;
};

// Asks the instance listening at socketPath to come to the front; true when it was reached.
bool requestActivation(const std::string& socketPath);

// The check of an interactive start: true when another process of the same executable
// runs and took the request to bring its window to the front, so this one should end.
// Any failure counts as no other instance. Unattended runs never make this check, so
// that an open window cannot swallow a scheduled batch run.
bool ActivateRunningInstance(const std::string& executablePath, const std::string& socketPath);

}  // namespace yentax
