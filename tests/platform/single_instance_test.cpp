#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

bool contains(const std::vector<pid_t>& pids, pid_t pid) {
  return std::find(pids.begin(), pids.end(), pid) != pids.end();
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    self_ = runningExecutablePath().value_or("");
    ASSERT_FALSE(self_.empty());
  }
  void TearDown() override {
    for (const pid_t pid : children_) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  // A child of this very binary that waits until it is killed.
  pid_t forkWaitingChild() {
    const pid_t pid = fork();
    if (pid == 0) {
      pause();
      _exit(0);
    }
    children_.push_back(pid);
    return pid;
  }

  pid_t spawnCopyOfSleep(const fs::path& copy) {
    fs::create_directories(copy.parent_path());
    fs::copy_file(fs::canonical("/bin/sleep"), copy);
    fs::permissions(copy, fs::perms::owner_all);
    std::string program = copy.string();
    std::string seconds = "30";
    char* const argv[] = {program.data(), seconds.data(), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    children_.push_back(pid);
    return pid;
  }

  ScratchFolder scratch_;
  fs::path folder_ = scratch_.path;
  std::string self_;
  std::vector<pid_t> children_;
};

TEST_F(SingleInstanceTest, FindsProcessesOfTheSameExecutablePathOnly) {
  const pid_t sibling = forkWaitingChild();
  const fs::path copyA = folder_ / "a" / "sleep";
  const fs::path unusedCopy = folder_ / "b" / "sleep";
  const pid_t copied = spawnCopyOfSleep(copyA);
  fs::create_directories(unusedCopy.parent_path());
  fs::copy_file(copyA, unusedCopy);
  // The spawned copy is found once it has replaced the forked image.
  std::vector<pid_t> ofCopy;
  for (int i = 0; i < 500 && !contains(ofCopy, copied); ++i) {
    ofCopy = listProcessesByImagePath(copyA.string(), getpid());
    if (!contains(ofCopy, copied)) usleep(10000);
  }

  const auto ofSelf = listProcessesByImagePath(self_, getpid());
  EXPECT_TRUE(contains(ofSelf, sibling));
  EXPECT_FALSE(contains(ofSelf, getpid()));
  EXPECT_FALSE(contains(ofSelf, copied));
  EXPECT_EQ(ofCopy, std::vector<pid_t>{copied});
  EXPECT_TRUE(listProcessesByImagePath(unusedCopy.string(), getpid()).empty());
  EXPECT_EQ(FindProcessByImagePath(copyA.string(), copied), std::nullopt);
}

TEST_F(SingleInstanceTest, ASecondStartReachesTheRunningInstance) {
  const std::string socketPath = (folder_ / "instance.sock").string();
  EXPECT_FALSE(ActivateRunningInstance(self_, socketPath));  // nobody listens yet

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t first = fork();
  if (first == 0) {
    close(ready[0]);
    auto listener = InstanceListener::listen(socketPath);
    const char state = listener ? 'L' : 'F';
    if (write(ready[1], &state, 1) != 1 || !listener) _exit(2);
    bool asked = false;
    for (int i = 0; i < 1000 && !asked; ++i) {
      asked = listener->takeActivationRequests();
      if (!asked) usleep(5000);
    }
    listener.reset();  // _exit runs no destructors
    _exit(asked ? 0 : 1);
  }
  children_.push_back(first);
  close(ready[1]);
  char state = 0;
  ASSERT_EQ(read(ready[0], &state, 1), 1);
  close(ready[0]);
  ASSERT_EQ(state, 'L');

  EXPECT_TRUE(ActivateRunningInstance(self_, socketPath));
  int status = -1;
  ASSERT_EQ(waitpid(first, &status, 0), first);
  children_.clear();
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // The ended instance took its socket away; a copy elsewhere would not even look.
  EXPECT_FALSE(fs::exists(socketPath));
  EXPECT_FALSE(ActivateRunningInstance((folder_ / "elsewhere" / "yentax").string(), socketPath));
}

TEST_F(SingleInstanceTest, ListenerTakesOverTheSocketNameButRemovesNothingElse) {
  const std::string socketPath = (folder_ / "s.sock").string();
  {
    auto first = InstanceListener::listen(socketPath);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->takeActivationRequests());
    EXPECT_TRUE(requestActivation(socketPath));
    EXPECT_TRUE(first->takeActivationRequests());
    // A later instance takes the name over; the first must not remove its socket.
    auto second = InstanceListener::listen(socketPath);
    ASSERT_TRUE(second);
    first.reset();
    EXPECT_TRUE(requestActivation(socketPath));
    EXPECT_TRUE(second->takeActivationRequests());
  }
  EXPECT_FALSE(requestActivation(socketPath));

  const fs::path plainFile = folder_ / "not-a-socket";
  { std::ofstream(plainFile) << "keep"; }
  EXPECT_FALSE(InstanceListener::listen(plainFile.string()));
  EXPECT_TRUE(fs::exists(plainFile));
  EXPECT_FALSE(InstanceListener::listen(std::string(200, 'x')));
}

TEST_F(SingleInstanceTest, SocketPathDependsOnTheExecutableAndStaysPrivate) {
  const std::string runtime = folder_.string();
  auto env = [&](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "XDG_RUNTIME_DIR") return runtime;
    return std::nullopt;
  };
  const auto a = instanceSocketPath("/opt/yentax/yentax", env);
  ASSERT_TRUE(a);
  EXPECT_NE(a, instanceSocketPath("/home/u/yentax", env));
  EXPECT_EQ(fs::path(*a).parent_path(), folder_);

  auto noRuntime = [](const char*) -> std::optional<std::string> { return "relative/run"; };
  const fs::path expectedTmp = "/tmp/yentax-" + std::to_string(geteuid());
  const bool existedBefore = fs::exists(expectedTmp);
  const auto fallback = instanceSocketPath("/opt/yentax/yentax", noRuntime);
  ASSERT_TRUE(fallback);
  EXPECT_EQ(fs::path(*fallback).parent_path(), expectedTmp);
  EXPECT_EQ(fs::status(expectedTmp).permissions(), fs::perms::owner_all);
  std::error_code ec;
  if (!existedBefore) fs::remove(expectedTmp, ec);
}

}  // namespace
}  // namespace yentax
