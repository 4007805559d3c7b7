#include "app/about_box.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/console_ui.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

ConsoleUi::Options quiet() {
  ConsoleUi::Options options;
  options.messageStream = nullptr;
  return options;
}

TEST(AboutBoxTest, SystemInformationStartsTheFirstToolOnThePathOrSaysThereIsNone) {
  struct Case {
    const char* name;
    std::optional<std::string> path{};  // "@" stands for the scratch folder
    std::vector<std::string> executables{};
    std::vector<std::string> plainFiles{};
    bool launches = true;
    std::string started{};
  };
  const Case cases[] = {
      {.name = "no PATH"},
      {.name = "nothing found", .path = "@/a:@/b", .executables = {"a/other"}},
      {.name = "second tool",
       .path = "@/a:@/b",
       .executables = {"b/kinfocenter"},
       .started = "b/kinfocenter"},
      {.name = "first tool wins",
       .path = "@/a:@/b",
       .executables = {"b/hardinfo", "a/kinfocenter"},
       .started = "b/hardinfo"},
      {.name = "not executable",
       .path = "@/a:@/b",
       .executables = {"b/kinfocenter"},
       .plainFiles = {"a/hardinfo"},
       .started = "b/kinfocenter"},
      {.name = "relative folder", .path = "a:@/b", .executables = {"a/hardinfo"}},
      {.name = "fails to start",
       .path = "@/a",
       .executables = {"a/hardinfo"},
       .launches = false,
       .started = "a/hardinfo"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder scratch;
    for (const auto& file : c.executables) {
      writeFile(scratch / file, "#!/bin/sh\n");
      ::chmod((scratch / file).c_str(), 0700);
    }
    for (const auto& file : c.plainFiles) writeFile(scratch / file, "");
    std::optional<std::string> path = c.path;
    for (auto at = path ? path->find('@') : std::string::npos; at != std::string::npos;
         at = path->find('@')) {
      path->replace(at, 1, scratch.path);
    }
    ConsoleUi ui(quiet());
    std::vector<std::string> started;
    SFrm_About about(
        ui, [&](const char* name) { return std::string(name) == "PATH" ? path : std::nullopt; },
        [&](const std::string& program) {
          started.push_back(program);
          return c.launches;
        });
    about.Cmd_SysInfo_Click();
    EXPECT_EQ(started,
              c.started.empty() ? std::vector<std::string>{} : std::vector{scratch / c.started});
    EXPECT_EQ(ui.messages().size(), c.started.empty() || !c.launches ? 1u : 0u);
  }
}

}  // namespace
}  // namespace yentax
