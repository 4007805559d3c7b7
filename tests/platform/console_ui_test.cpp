#include "platform/console_ui.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

using Answer = MessageAnswer;
using Buttons = MessageButtons;

ConsoleUi::Options quietOptions(std::ostream* stream = nullptr) {
  ConsoleUi::Options options;
  options.title = u"価格変換";
  options.messageStream = stream;
  options.launcher = [](const std::string&) { return false; };
  return options;
}

TEST(ConsoleUiTest, ScriptedAnswersAreTakenInOrderAndEveryMessageIsRecorded) {
  std::ostringstream out;
  ConsoleUi ui(quietOptions(&out));
  ui.queueAnswer(Answer::Yes);
  ui.queueAnswer(Answer::Cancel);
  ui.showMessage(u"終了\r\nしました。");  // takes no scripted answer
  EXPECT_TRUE(ui.askYesNo(u"上書き？"));
  EXPECT_EQ(ui.askYesNoCancel(u"登録？"), Answer::Cancel);
  EXPECT_FALSE(ui.askYesNo(u"続行？"));  // nothing scripted: the default No

  const auto& m = ui.messages();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].caption, u"価格変換");
  EXPECT_EQ(m[0].text, u"終了\r\nしました。");
  EXPECT_EQ(m[0].icon, MessageIcon::Information);
  EXPECT_EQ(m[1].buttons, Buttons::YesNo);
  EXPECT_EQ(m[1].icon, MessageIcon::Question);
  EXPECT_EQ(m[2].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(m[3].answer, Answer::No);
  EXPECT_EQ(out.str(),
            "価格変換: 終了\nしました。\n価格変換: 上書き？ [Yes/No] -> Yes\n"
            "価格変換: 登録？ [Yes/No/Cancel] -> Cancel\n価格変換: 続行？ [Yes/No] -> No\n");
}

TEST(ConsoleUiTest, AnswersAreFittedToTheButtons) {
  auto options = quietOptions();
  options.defaultAnswer = Answer::Yes;
  ConsoleUi ui(options);
  ui.queueAnswer(Answer::Cancel);
  ui.queueAnswer(Answer::Ok);
  EXPECT_FALSE(ui.askYesNo(u"a"));                  // a Yes/No box cannot cancel
  EXPECT_EQ(ui.askYesNoCancel(u"b"), Answer::Yes);  // nor say OK
  EXPECT_EQ(ui.askYesNoCancel(u"c"), Answer::Yes);  // the configured default
  EXPECT_EQ(fitAnswer(Answer::Yes, Buttons::Ok), Answer::Ok);
  EXPECT_EQ(fitAnswer(Answer::No, Buttons::YesNoCancel), Answer::No);
}

TEST(ConsoleUiTest, DialogsTakeScriptedChoicesAndAreRecorded) {
  ConsoleUi ui(quietOptions());
  FileDialogRequest open;
  open.title = u"変換設定ファイルの読込";
  open.fileName = u"/home/u/ExchangeList.KVT";
  open.defaultExtension = u"KVT";
  for (const char16_t* path : {u"/data/job", u"/data.d/job", u"/data/job.old"}) ui.queuePath(path);
  ui.queuePath(std::nullopt);
  EXPECT_EQ(ui.openFileDialog(open), u"/data/job.KVT");
  EXPECT_EQ(ui.saveFileDialog(open), u"/data.d/job.KVT");  // a dot in a folder is no extension
  EXPECT_EQ(ui.openFileDialog(open), u"/data/job.old");
  EXPECT_EQ(ui.openFileDialog(open), std::nullopt);
  EXPECT_EQ(ui.saveFileDialog(open), std::nullopt);  // nothing scripted: cancelled
  ui.queuePath(u"/dest");
  EXPECT_EQ(ui.browseForFolder(u"フォルダを選択して下さい。", u"/src"), u"/dest");
  ui.queueColor(0x00FF8000u);
  EXPECT_EQ(ui.chooseColor(u"外枠の色の選択", 255), 0x00FF8000u);
  EXPECT_EQ(ui.chooseColor(u"背景色の選択", 0), std::nullopt);

  using Kind = ConsoleUi::DialogKind;
  const auto& d = ui.dialogs();
  ASSERT_EQ(d.size(), 8u);
  const Kind kinds[] = {Kind::OpenFile, Kind::SaveFile, Kind::OpenFile, Kind::OpenFile,
                        Kind::SaveFile, Kind::Folder,   Kind::Color,    Kind::Color};
  const bool chosen[] = {true, true, true, false, false, true, true, false};
  for (std::size_t i = 0; i < d.size(); ++i) {
    EXPECT_EQ(d[i].kind, kinds[i]) << i;
    EXPECT_EQ(d[i].chosen, chosen[i]) << i;
  }
  EXPECT_EQ(d[0].title, u"変換設定ファイルの読込");
  EXPECT_EQ(d[0].file.fileName, u"/home/u/ExchangeList.KVT");
  EXPECT_EQ(d[5].file.initialFolder, u"/src");
  EXPECT_EQ(d[6].initialColor, 255u);
}

TEST(ConsoleUiTest, DesktopOpeningUsesTheInjectedLauncherAndEventTurnsRunTheHandler) {
  std::vector<std::string> launched;
  auto options = quietOptions();
  options.launcher = [&](const std::string& path) {
    launched.push_back(path);
    return path != "/missing";
  };
  ConsoleUi ui(options);
  EXPECT_TRUE(ui.openWithDesktop(u"/ヘルプ/HELP.HTM"));
  EXPECT_FALSE(ui.openWithDesktop(u"/missing"));
  EXPECT_FALSE(ui.openWithDesktop(u""));
  EXPECT_EQ(launched, (std::vector<std::string>{"/ヘルプ/HELP.HTM", "/missing"}));

  int clicks = 0;
  ui.processPendingEvents();
  ui.onPendingEvents([&] { ++clicks; });
  ui.processPendingEvents();
  EXPECT_EQ(ui.pendingEventTurns(), 2);
  EXPECT_EQ(clicks, 1);
}

TEST(ConsoleBrowserViewTest, NavigationsPassTheGuardAndReportFileUrls) {
  ConsoleBrowserView view;
  EXPECT_EQ(view.locationUrl(), u"");
  int asked = 0;
  view.setBeforeNavigate([&](const std::u16string& url) {
    return ++asked == 1 || url.find(u'#') != std::u16string::npos;
  });
  const std::u16string shown = u"file:///tmp/Q/%E4%BE%A1%E6%A0%BC%20%E8%A1%A8.htm#ABCDEFG";
  view.navigate(u"/tmp/Q/価格 表.htm", u"ABCDEFG");
  EXPECT_EQ(view.locationUrl(), shown);
  EXPECT_EQ(view.urlFor(u"/tmp/Q/価格 表.htm", u"ABCDEFG"), shown);
  EXPECT_FALSE(view.followLink(u"http://example.com/"));
  view.navigate(u"/tmp/a.htm", u"");
  EXPECT_EQ(view.locationUrl(), shown);  // both were cancelled
  ASSERT_EQ(view.navigations().size(), 3u);
  EXPECT_EQ(view.navigations()[2].url, u"file:///tmp/a.htm");
  EXPECT_FALSE(view.navigations()[2].allowed);
}

TEST(SpawnDetachedTest, RunsTheProgramAndReportsOneThatCannotStart) {
  EXPECT_FALSE(spawnDetached("/nonexistent/yentax-handler", "x"));
  const ScratchFolder scratch;
  const std::filesystem::path marker = scratch / "spawned";
  ASSERT_TRUE(spawnDetached("touch", marker.string()));
  bool appeared = false;
  for (int i = 0; i < 500 && !appeared; ++i) {
    appeared = std::filesystem::exists(marker);
    if (!appeared) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(appeared);
}

}  // namespace
}  // namespace yentax
