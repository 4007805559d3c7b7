#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

int shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What make install lays down is what the Debian package holds, under /usr.
TEST(PackagingTest, InstallPutsEachFileWhereLinuxLooksForIt) {
  const ScratchFolder scratch;
  ASSERT_EQ(shell("DESTDIR=" + scratch.path + " cmake --install " + YENTAX_BUILD_DIR +
                  " --prefix /usr > " + scratch / "install.out" + " 2>&1"),
            0)
      << readFile(scratch / "install.out");
  std::set<std::string> installed;
  for (const auto& entry : fs::recursive_directory_iterator(scratch / "usr")) {
    if (!entry.is_directory()) installed.insert(fs::relative(entry.path(), scratch.path).string());
  }
  std::set<std::string> expected = {
      "usr/bin/yentax",
      "usr/share/man/man1/yentax.1.gz",
      "usr/share/bash-completion/completions/yentax",
      "usr/share/zsh/vendor-completions/_yentax",
      "usr/share/fish/vendor_completions.d/yentax.fish",
      "usr/share/lintian/overrides/yentax",
      "usr/share/doc/yentax/README.md",
      "usr/share/doc/yentax/copyright",
      "usr/share/doc/yentax/changelog.gz",
      "usr/share/doc/yentax/examples/shop_sjis.htm",
      "usr/share/doc/yentax/examples/shop_eucjp.htm",
      "usr/share/doc/yentax/examples/shop_utf8.html",
      "usr/share/doc/yentax/examples/demo.KVT",
  };
  // The desktop build's windows: a module the program loads from the library folder, with
  // what a desktop needs to offer it.
  const bool desktop = fs::exists(std::string(YENTAX_BUILD_DIR) + "/yentax-desktop.so");
  if (desktop) {
    expected.insert(
        {"usr/lib/yentax/desktop/yentax-desktop.so", "usr/lib/yentax/desktop/yentax-browser.so",
         "usr/share/yentax/HELP/HELP.HTM", "usr/share/applications/yentax.desktop",
         "usr/share/icons/hicolor/scalable/apps/yentax.svg",
         "usr/share/metainfo/org.yentax.yentax.metainfo.xml",
         "usr/share/lintian/overrides/yentax-desktop", "usr/share/doc/yentax-desktop/copyright",
         "usr/share/doc/yentax-desktop/changelog.gz"});
  }
  EXPECT_EQ(installed, expected);
  if (desktop) {
    // The main window starts without the browser engine, which its own module brings.
    const auto needs = [&](const char* module) {
      return shell("readelf -d " + scratch / ("usr/lib/yentax/desktop/" + std::string(module)) +
                   " | grep -q 'NEEDED.*libQt6WebEngine'") == 0;
    };
    EXPECT_FALSE(needs("yentax-desktop.so"));
    EXPECT_TRUE(needs("yentax-browser.so"));
    // Loaded, the module finds no display here and says so.
    EXPECT_EQ(shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                    scratch / "usr/bin/yentax 2> " + scratch / "start.err"),
              2);
    EXPECT_NE(readFile(scratch / "start.err").find("yentax: no display"), std::string::npos)
        << readFile(scratch / "start.err");
  }
  // Without a display, and without the window module, the version and the help answer.
  std::filesystem::remove(scratch / "usr/lib/yentax/desktop/yentax-desktop.so");
  for (const char* asked : {"--version", "convert --version"}) {
    EXPECT_EQ(shell("env -u DISPLAY " + scratch / "usr/bin/yentax " + asked + " > " +
                    scratch / "version.out"),
              0);
    EXPECT_EQ(readFile(scratch / "version.out"), "yentax 1.0.0\n") << asked;
  }
  EXPECT_EQ(
      shell("env -u DISPLAY " + scratch / "usr/bin/yentax > /dev/null 2> " + scratch / "start.err"),
      2);
  // A build without windows has no package to point to.
  if (desktop) {
    EXPECT_NE(readFile(scratch / "start.err").find("it is in the package yentax-desktop"),
              std::string::npos)
        << readFile(scratch / "start.err");
  }
  const std::string entry = readFile(std::string(YENTAX_SOURCE_DIR) + "/packaging/yentax.desktop");
  EXPECT_NE(entry.find("\nExec=yentax %f\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=text/html;application/xhtml+xml;\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=yentax\n"), std::string::npos);
}

TEST(PackagingTest, TheCompletionOffersCommandsOptionsAndValues) {
  struct Case {
    std::string words;  // the command line up to the word being completed
    std::string offered;
  };
  const Case cases[] = {
      {"yentax c", "convert check"},
      {"yentax --", "--help --version"},
      {"yentax convert --bracket ",
       "'()' （） '[]' ［］ '<>' ＜＞ ｢｣ 「」 '{}' ｛｝ 《》 ≪≫ 〔〕 『』 【】 ‘’ 〝〟 none"},
      {"yentax check --settings ", "job.KVT sub"},
      {"yentax convert --ki", "--kind"},
      {"yentax convert --kind ", "append replace breakdown"},
      {"yentax check --format j", "json jsonl"},
      {"yentax check --in", ""},
      {"yentax restore --f", "--force --follow-links"},
      {"yentax convert --rounding up-from-",
       "up-from-2 up-from-3 up-from-4 up-from-5 up-from-6 "
       "up-from-7 up-from-8 up-from-9"},
  };
  const std::string completion =
      std::string(YENTAX_SOURCE_DIR) + "/packaging/completion/yentax.bash";
  for (const Case& c : cases) {
    const ScratchFolder scratch;
    writeFile(scratch / "job.KVT", "");
    writeFile(scratch / "page.htm", "");
    writeFile(scratch / "sub/x", "");
    const std::string script = "compopt() { :; }; source '" + completion + "'; COMP_WORDS=(" +
                               c.words + (c.words.back() == ' ' ? "''" : "") +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                               "cd '" +
                               scratch.path + "'; _yentax; echo \"${COMPREPLY[*]}\"";
    writeFile(scratch / "complete.sh", script);
    ASSERT_EQ(shell("bash " + scratch / "complete.sh > " + scratch / "out 2>&1"), 0);
    EXPECT_EQ(readFile(scratch / "out"), c.offered + "\n") << c.words;
  }
}

}  // namespace
}  // namespace yentax
