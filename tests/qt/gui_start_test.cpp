#include "qt/gui_start.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

// The program copied into scratch/bin, so that its settings file, its working folders and
// its instance socket all stay in the scratch folder.
struct ProgramCopy {
  ScratchFolder scratch;
  ProgramCopy() {
    fs::create_directories(scratch / "bin");
    fs::create_directories(scratch / "run");
    fs::create_directories(scratch / "tmp");
    fs::permissions(scratch / "run", fs::perms::owner_all);
    fs::copy_file(std::string(YENTAX_BUILD_DIR) + "/yentax", scratch / "bin/yentax");
    fs::copy_file(std::string(YENTAX_BUILD_DIR) + "/yentax-desktop.so",
                  scratch / "bin/yentax-desktop.so");
  }

  // Starts the program with only the given variables (and HOME, PATH); stderr to a file.
  pid_t start(const std::vector<std::string>& variables, const std::string& errors) const {
    std::vector<std::string> env = variables;
    env.push_back("PATH=/usr/bin:/bin");
    env.push_back("HOME=" + scratch.path);
    env.push_back("TMPDIR=" + (scratch / "tmp"));
    env.push_back("XDG_RUNTIME_DIR=" + (scratch / "run"));
    std::vector<char*> envp;
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = scratch / "bin/yentax";
    char* argv[] = {program.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, (scratch / errors).c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  static int exitStatus(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::size_t workingFolders() const {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(scratch / "tmp")) count += entry.is_directory();
    return count;
  }

  bool listening() const {
    for (const auto& entry : fs::directory_iterator(scratch / "run")) {
      if (entry.is_socket()) return true;
    }
    return false;
  }
};

TEST(GuiStartTest, WithoutADisplayTheProgramSaysSoAndEndsWithStatus2) {
  ProgramCopy program;
  const pid_t pid = program.start({}, "stderr");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(ProgramCopy::exitStatus(pid), 2);
  const auto errors = readFile(program.scratch / "stderr");
  EXPECT_NE(errors.find("yentax: no display"), std::string::npos) << errors;
  EXPECT_NE(errors.find("yentax \"変換設定ファイル名\""), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(program.scratch / "bin/yentax.INI"));
}

TEST(GuiStartTest, ASecondStartBringsTheFirstWindowForwardAndEnds) {
  ProgramCopy program;
  const pid_t first = program.start({"QT_QPA_PLATFORM=offscreen"}, "first");
  ASSERT_GT(first, 0);
  // The first instance is ready once it listens; the wait ends as soon as it does.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!program.listening() && std::chrono::steady_clock::now() < deadline &&
         waitpid(first, nullptr, WNOHANG) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(program.listening()) << readFile(program.scratch / "first");

  const pid_t second = program.start({"QT_QPA_PLATFORM=offscreen"}, "second");
  ASSERT_GT(second, 0);
  EXPECT_EQ(ProgramCopy::exitStatus(second), 0) << readFile(program.scratch / "second");
  EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0);  // the first one still runs
  kill(first, SIGTERM);
  ProgramCopy::exitStatus(first);
}

TEST(GuiStartTest, SigtermClosesTheWindowRemovesItsWorkingFoldersAndEndsByTheSignal) {
  ProgramCopy program;
  const pid_t pid = program.start({"QT_QPA_PLATFORM=offscreen"}, "stderr");
  ASSERT_GT(pid, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (program.workingFolders() < 3 && std::chrono::steady_clock::now() < deadline &&
         waitpid(pid, nullptr, WNOHANG) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(program.workingFolders(), 3u) << readFile(program.scratch / "stderr");
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(ProgramCopy::exitStatus(pid), 128 + SIGTERM) << readFile(program.scratch / "stderr");
  EXPECT_EQ(program.workingFolders(), 0u);
  EXPECT_TRUE(fs::exists(program.scratch / "bin/yentax.INI"));  // closed as by the user
}

}  // namespace
}  // namespace yentax
