#include <cstdlib>
#include <optional>

#include "app_fixture.h"
#include "docio/display_path.h"

namespace yentax {
namespace {

TEST(FileSelectionTest, DisplayPreparesAFreshWorkingCopyForThePreview) {
  struct Case {
    bool folderTab;
    std::string file;  // typed, or the selected node's
    std::u16string message;
  };
  const Case cases[] = {
      {false, "src/a.htm", u""},
      {false, "src/b.txt", u""},
      {false, "", u"HTMLファイルを入力してください。"},
      {false, "src/none.htm", u"HTMLファイルが見つかりません。"},
      {false, "src/link.htm",
       u"HTMLファイルを読み込めませんでした。\r\n(No such file or directory)"},
      {true, "src/a.htm", u""},
      {true, "", u"ファイルを選択してください。"},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.file);
    writeFile(f.scratch / "src/a.htm", "page a");
    writeFile(f.scratch / "src/b.txt", "text b");
    // A page that goes between the choice and the reading: its link leads nowhere.
    fs::create_symlink("gone.htm", f.scratch / "src/link.htm");
    f.start();
    f.settings.DestinationFolder = f.scratch.u("out");
    f.settings.DestinationFolder1 = f.scratch.u("out1");
    f.settings.SourceFolder = f.scratch.u("src");
    f.settings.FileTabActive = !c.folderTab;
    f.sync();
    f.window.Cmd_FilesRenew_Click();
    if (!c.folderTab) f.window.Txt_File.Text = f.scratch.u(c.file);
    if (c.folderTab && !c.file.empty()) f.window.Trv_Files.SelectedItem = 1;
    f.window.Cmd_Disp_Click();

    EXPECT_EQ(f.texts(), c.message.empty() ? std::vector<std::u16string>{}
                                           : std::vector<std::u16string>{c.message});
    ASSERT_EQ(f.forms.previews.size(), c.message.empty() ? 1u : 0u);
    if (!c.message.empty()) continue;
    const auto& request = f.forms.previews[0];
    EXPECT_EQ(readFile(request.WorkingCopyPath), readFile(f.scratch / c.file));
    EXPECT_EQ(fs::path(request.WorkingCopyPath).parent_path(), f.window.state().TempFolders[0]);
    EXPECT_EQ(request.SourcePath, f.scratch.u(c.file));
    EXPECT_EQ(request.TempFolders, f.window.state().TempFolders);
    EXPECT_EQ(request.PreviewSourceFolder, f.scratch.u("src"));
    EXPECT_EQ(request.PreviewSaveFolder, f.scratch.u(c.folderTab ? "out1" : "out"));
    EXPECT_EQ(request.PreviewTextMode, c.file.ends_with(".txt"));
    EXPECT_EQ(f.ui.pendingEventTurns(), 1);
  }
}

// Without a working folder (the temporary folder cannot be written) 表示 says so, with
// the system's reason, rather than doing nothing.
TEST(FileSelectionTest, DisplayWithoutAWorkingFolderSaysWhy) {
  WindowFixture f;
  writeFile(f.scratch / "src/a.htm", "page a");
  writeFile(f.scratch / "not-a-folder", "x");
  const char* before = std::getenv("TMPDIR");
  const std::string saved = before ? before : "";
  ::setenv("TMPDIR", (f.scratch / "not-a-folder").c_str(), 1);
  f.start();
  f.settings.FileTabActive = true;
  f.sync();
  f.window.Txt_File.Text = f.scratch.u("src/a.htm");
  f.window.Cmd_Disp_Click();
  if (before) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  EXPECT_TRUE(f.forms.previews.empty());
  ASSERT_EQ(f.texts().size(), 1u);
  EXPECT_TRUE(f.texts()[0].starts_with(u"作業フォルダを作成できませんでした。\r\n("))
      << utf16ToUtf8(f.texts()[0]);
}

std::u16string label(const AppScratch& scratch, const std::string& folder) {
  return ShortenPathForDisplay(scratch.u(folder), 52);
}

TEST(FileSelectionTest, PickingOrDroppingAFileAsksWhetherTheDestinationFollows) {
  struct Case {
    const char* name;
    bool drop = false;
    std::optional<std::string> chosen{};  // nothing: the dialog is cancelled
    std::string destination{};            // before
    std::optional<MessageAnswer> answer{};
    std::string file{};  // Txt_File afterwards
    std::string destinationAfter{};
  };
  const std::u16string question = u"保存先フォルダをHTMLファイルと同じ場所に設定しますか？";
  const Case cases[] = {
      {.name = "first pick", .chosen = "src/a.htm", .file = "src/a.htm", .destinationAfter = "src"},
      {.name = "yes",
       .chosen = "src/a.htm",
       .destination = "out",
       .answer = MessageAnswer::Yes,
       .file = "src/a.htm",
       .destinationAfter = "src"},
      {.name = "no",
       .chosen = "src/a.htm",
       .destination = "out",
       .answer = MessageAnswer::No,
       .file = "src/a.htm",
       .destinationAfter = "out"},
      {.name = "cancel", .destination = "out", .file = "old.htm", .destinationAfter = "out"},
      {.name = "drop",
       .drop = true,
       .chosen = "src/a.htm",
       .destination = "out",
       .answer = MessageAnswer::Yes,
       .file = "src/a.htm",
       .destinationAfter = "src"},
      {.name = "drop nothing",
       .drop = true,
       .destination = "out",
       .file = "old.htm",
       .destinationAfter = "out"},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.name);
    f.start();
    f.settings.SourceFile = f.scratch.u("old.htm");
    f.settings.DestinationFolder = f.scratch.u(c.destination);
    f.sync();
    if (c.answer) f.ui.queueAnswer(*c.answer);
    const std::u16string chosen = c.chosen ? u"  " + f.scratch.u(*c.chosen) + u" " : u"";
    if (c.drop) {
      std::vector<std::u16string> dropped;
      if (c.chosen) dropped = {chosen, f.scratch.u("src/other.htm")};
      f.window.Txt_File_OLEDragDrop(dropped);
    } else {
      f.ui.queuePath(c.chosen ? std::optional(chosen) : std::nullopt);
      f.window.Cmd_Folder_Click();
      ASSERT_EQ(f.ui.dialogs().size(), 1u);
      const auto& request = f.ui.dialogs()[0].file;
      EXPECT_EQ(request.title, u"HTMLファイルの指定");
      EXPECT_EQ(request.fileName, f.scratch.u("old.htm"));
      EXPECT_EQ(request.filter, u"すべてのファイル (*.*)|*.*");
      EXPECT_EQ(request.defaultExtension, u"HTM");
    }
    EXPECT_EQ(f.window.Txt_File.Text, f.scratch.u(c.file));
    EXPECT_EQ(f.settings.SourceFile, f.scratch.u(c.file));
    EXPECT_EQ(f.settings.DestinationFolder, f.scratch.u(c.destinationAfter));
    EXPECT_EQ(f.window.Lbl_DestFolder.Caption, label(f.scratch, c.destinationAfter));
    EXPECT_EQ(f.texts(), c.answer ? std::vector{question} : std::vector<std::u16string>{});
  }
}

TEST(FileSelectionTest, ANewSourceFolderIsListedAndMayBecomeTheDestination) {
  struct Case {
    const char* name;
    bool drop = false;
    std::optional<std::string> chosen{};  // picked or dropped; nothing: cancelled
    std::string destination1{};
    std::optional<MessageAnswer> answer{};
    std::string folderAfter{};
    std::string destination1After{};
    std::vector<std::u16string> listed{};  // file names in the tree after the root
  };
  const std::u16string question = u"保存先フォルダを変換元フォルダと同じ場所に設定しますか？";
  const Case cases[] = {
      {.name = "first pick",
       .chosen = "new",
       .folderAfter = "new",
       .destination1After = "new",
       .listed = {u"b.htm", u"c.html"}},
      {.name = "yes",
       .chosen = "new",
       .destination1 = "out",
       .answer = MessageAnswer::Yes,
       .folderAfter = "new",
       .destination1After = "new",
       .listed = {u"b.htm", u"c.html"}},
      {.name = "no",
       .chosen = "new",
       .destination1 = "out",
       .answer = MessageAnswer::No,
       .folderAfter = "new",
       .destination1After = "out",
       .listed = {u"b.htm", u"c.html"}},
      {.name = "same again",
       .chosen = "src",
       .destination1 = "out",
       .folderAfter = "src",
       .destination1After = "out",
       .listed = {u"a.htm"}},
      {.name = "cancel",
       .destination1 = "out",
       .folderAfter = "src",
       .destination1After = "out",
       .listed = {u"a.htm"}},
      {.name = "drop a file",
       .drop = true,
       .chosen = "new/c.html",
       .destination1 = "out",
       .answer = MessageAnswer::No,
       .folderAfter = "new",
       .destination1After = "out",
       .listed = {u"b.htm", u"c.html"}},
      {.name = "drop a folder",
       .drop = true,
       .chosen = "new",
       .folderAfter = "new",
       .destination1After = "new",
       .listed = {u"b.htm", u"c.html"}},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.name);
    writeFile(f.scratch / "src/a.htm", "a");
    writeFile(f.scratch / "new/b.htm", "b");
    writeFile(f.scratch / "new/c.html", "c");
    writeFile(f.scratch / "new/notes.txt", "not a page");
    writeFile(f.scratch / "new/sub/d.htm", "below the folder");
    f.start();
    f.settings.SourceFolder = f.scratch.u("src");
    f.settings.DestinationFolder1 = f.scratch.u(c.destination1);
    f.settings.FileTabActive = false;
    f.sync();
    f.window.Cmd_FilesRenew_Click();
    f.window.Trv_Files.Nodes.at(1).Checked = true;
    if (c.answer) f.ui.queueAnswer(*c.answer);
    const auto chosen = c.chosen ? std::optional(f.scratch.u(*c.chosen)) : std::nullopt;
    if (c.drop) {
      f.window.Cmd_ReadFolder_OLEDragDrop({*chosen});
    } else {
      f.ui.queuePath(chosen);
      f.window.Cmd_ReadFolder_Click();
      ASSERT_EQ(f.ui.dialogs().size(), 1u);
      EXPECT_EQ(f.ui.dialogs()[0].title, u"フォルダを選択して下さい。");
      EXPECT_EQ(f.ui.dialogs()[0].file.initialFolder, f.scratch.u("src"));
    }
    EXPECT_TRUE(f.window.Enabled);
    EXPECT_EQ(f.settings.SourceFolder, f.scratch.u(c.folderAfter));
    EXPECT_EQ(f.window.Lbl_ReadFolder.Caption, label(f.scratch, c.folderAfter));
    EXPECT_EQ(f.settings.DestinationFolder1, f.scratch.u(c.destination1After));
    EXPECT_EQ(f.window.Lbl_DestFolder1.Caption, label(f.scratch, c.destination1After));
    EXPECT_EQ(f.texts(), c.answer ? std::vector{question} : std::vector<std::u16string>{});
    std::vector<std::u16string> listed;
    for (std::size_t i = 1; i < f.window.Trv_Files.Nodes.size(); ++i) {
      listed.push_back(f.window.Trv_Files.Nodes[i].Text);
    }
    EXPECT_EQ(listed, c.listed);
    // A new list starts with nothing ticked; the old one keeps its marks.
    EXPECT_EQ(f.window.Fnc_GetNodeCheckList().empty(), c.folderAfter != "src");
  }
}

TEST(FileSelectionTest, DestinationsArePickedOrDroppedPerTab) {
  struct Case {
    const char* name;
    bool fileTab;
    bool drop = false;
    std::optional<std::string> chosen{};
    std::string after{};  // the tab's destination afterwards; the other stays "keep"
  };
  const Case cases[] = {
      {.name = "file tab pick", .fileTab = true, .chosen = "out", .after = "out"},
      {.name = "file tab cancel", .fileTab = true, .after = "keep"},
      {.name = "file tab drop file",
       .fileTab = true,
       .drop = true,
       .chosen = "out/x.htm",
       .after = "out"},
      {.name = "folder tab pick", .fileTab = false, .chosen = "out", .after = "out"},
      {.name = "folder tab empty pick", .fileTab = false, .chosen = "", .after = "keep"},
      {.name = "folder tab drop folder",
       .fileTab = false,
       .drop = true,
       .chosen = "out",
       .after = "out"},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.name);
    writeFile(f.scratch / "out/x.htm", "x");
    fs::create_directories(f.scratch / "keep");
    f.start();
    f.settings.DestinationFolder = f.scratch.u("keep");
    f.settings.DestinationFolder1 = f.scratch.u("keep");
    f.sync();
    const auto chosen = c.chosen ? std::optional(f.scratch.u(*c.chosen)) : std::nullopt;
    if (c.drop) {
      c.fileTab ? f.window.Cmd_DestFolder_OLEDragDrop({*chosen})
                : f.window.Cmd_DestFolder1_OLEDragDrop({*chosen});
    } else {
      f.ui.queuePath(c.chosen && c.chosen->empty() ? std::optional(std::u16string()) : chosen);
      c.fileTab ? f.window.Cmd_DestFolder_Click() : f.window.Cmd_DestFolder1_Click();
      ASSERT_EQ(f.ui.dialogs().size(), 1u);
      EXPECT_EQ(f.ui.dialogs()[0].title, u"フォルダを選択して下さい。");
      EXPECT_EQ(f.ui.dialogs()[0].file.initialFolder, f.scratch.u("keep"));
    }
    const auto& picked = c.fileTab ? f.settings.DestinationFolder : f.settings.DestinationFolder1;
    const auto& other = c.fileTab ? f.settings.DestinationFolder1 : f.settings.DestinationFolder;
    EXPECT_EQ(picked, f.scratch.u(c.after));
    EXPECT_EQ(other, f.scratch.u("keep"));
    EXPECT_EQ((c.fileTab ? f.window.Lbl_DestFolder : f.window.Lbl_DestFolder1).Caption,
              label(f.scratch, c.after));
    EXPECT_TRUE(f.texts().empty());
  }
}

TEST(FileSelectionTest, OnlyAnExistingAbsoluteDestinationIsOpened) {
  struct Case {
    const char* name;
    bool fileTab;
    std::u16string destination;  // "@" stands for the scratch folder
    bool opened;
    std::u16string message{};
  };
  const std::u16string missing = u"保存先フォルダが見つかりません。";
  const Case cases[] = {
      {.name = "file tab", .fileTab = true, .destination = u"@/out", .opened = true},
      {.name = "folder tab", .fileTab = false, .destination = u"@/out", .opened = true},
      {.name = "empty", .fileTab = true, .destination = u"", .opened = false},
      {.name = "missing",
       .fileTab = false,
       .destination = u"@/gone",
       .opened = false,
       .message = missing},
      {.name = "relative",
       .fileTab = true,
       .destination = u"out",
       .opened = false,
       .message = missing},
      {.name = "option-like",
       .fileTab = true,
       .destination = u"--help",
       .opened = false,
       .message = missing},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.name);
    fs::create_directories(f.scratch / "out");
    auto destination = c.destination;
    if (destination.starts_with(u"@"))
      destination = utf8ToUtf16(f.scratch.path) + destination.substr(1);
    f.start();
    (c.fileTab ? f.settings.DestinationFolder : f.settings.DestinationFolder1) = destination;
    c.fileTab ? f.window.Command1_Click() : f.window.Cmd_DestFoldeOpen_Click();
    EXPECT_EQ(f.ui.openedPaths(),
              c.opened ? std::vector{destination} : std::vector<std::u16string>{});
    EXPECT_EQ(f.texts(),
              c.message.empty() ? std::vector<std::u16string>{} : std::vector{c.message});
  }
}

TEST(FileSelectionTest, ADropOnTheWindowSetsTheSourceOfTheSelectedTab) {
  struct Case {
    const char* name;
    bool fileTab = false;
    bool running = false;
    std::string file{};    // Txt_File afterwards
    std::string folder{};  // SourceFolder afterwards
  };
  const Case cases[] = {
      {.name = "file tab", .fileTab = true, .file = "new/b.htm", .folder = "src"},
      {.name = "folder tab", .file = "src/a.htm", .folder = "new"},
      {.name = "during a run", .running = true, .file = "src/a.htm", .folder = "src"},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.name);
    writeFile(f.scratch / "new/b.htm", "b");
    f.start();
    f.settings.SourceFile = f.scratch.u("src/a.htm");
    f.settings.SourceFolder = f.scratch.u("src");
    f.settings.DestinationFolder = f.settings.DestinationFolder1 = f.scratch.u("out");
    f.settings.FileTabActive = c.fileTab;
    f.sync();
    f.window.state().RunInProgress = c.running;
    f.window.Form_OLEDragDrop({f.scratch.u("new/b.htm")});
    EXPECT_EQ(f.window.Txt_File.Text, f.scratch.u(c.file));
    EXPECT_EQ(f.settings.SourceFolder, f.scratch.u(c.folder));
    EXPECT_EQ(f.window.Trv_Files.Nodes.size(), c.folder == "new" ? 2u : 0u);
  }
}

}  // namespace
}  // namespace yentax
