#include "app/stop_signals.h"

#include <csignal>

#include "app_fixture.h"
#include "docio/page_file.h"
#include "platform/stopping_ui.h"

namespace yentax {
namespace {

TEST(StopSignalsTest, AnEventLoopLearnsOfEachStopSignalThroughItsDescriptor) {
  const int descriptor = catchStopSignalsForEventLoop();
  ASSERT_GE(descriptor, 0);
  EXPECT_EQ(catchStopSignalsForEventLoop(), descriptor);
  struct Case {
    int signal;
    bool stops;
  };
  const Case cases[] = {{SIGINT, true},   {SIGTERM, true},  {SIGHUP, true},
                        {SIGQUIT, false}, {SIGUSR1, false}, {SIGPIPE, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signal);
    struct sigaction current {};
    ASSERT_EQ(sigaction(c.signal, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler != SIG_DFL, c.stops);
    if (!c.stops) continue;
    std::raise(c.signal);
    EXPECT_EQ(caughtStopSignal(), c.signal);
    EXPECT_EQ(takeStopSignal(descriptor), c.signal);
    EXPECT_EQ(takeStopSignal(descriptor), 0);
  }
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
}

// The windows as a stop signal finds them, closed the way the desktop closes them then:
// an open preview first, then the main window.
TEST(StopSignalsTest, AStopClosesTheWindowsWithoutAQuestionAndRemovesTheWorkingFolders) {
  for (const bool preview : {true, false}) {  // a converted amount not saved, or a folder run
    SCOPED_TRACE(preview);
    AppScratch scratch;
    ConsoleUi console(WindowFixture::quiet());
    console.queueAnswer(MessageAnswer::Yes);  // would save, were the user asked
    StoppingUi ui(console);
    ConsoleBrowserView browser;
    struct Forms : FormHost {
      std::function<void(SFrm_Disp&)> onPreview;
      void show(SFrm_Disp& form) override { onPreview(form); }
    } forms;
    ConversionSettings settings;
    int converted = 0;
    MainWindowPorts ports{.convert = [&](LoadedPage page, const ConversionSettings&,
                                         ConversionContext&) -> PageConversion {
                            ++converted;
                            return {.bytes = page.bytes};
                          },
                          .stopRequested = [&] { return ui.stopped(); }};
    MainWindowSetup setup;
    setup.programFolder = scratch.path;
    setup.defaultSettingsPath = scratch / "yentax.INI";
    Sfrm_Main window(settings, ui, forms, setup, ports);
    forms.onPreview = [&](SFrm_Disp& form) {
      form.attachBrowser(browser);
      ASSERT_TRUE(form.Form_Load());
      form.Cmd_Next_Click(1);
      form.Cmd_Chenge_Click(1);
      ASSERT_TRUE(form.Cmd_Write.Enabled);
      ui.stop();
      EXPECT_TRUE(form.Form_Unload());
      window.Form_Unload();
    };
    console.onPendingEvents([&] {
      if (converted != 1 || ui.stopped()) return;
      ui.stop();
      window.Form_Unload();
    });
    const std::string page = encodePageText(
        u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>1,980円</P><P>500円</P></BODY></HTML>",
        CharsetCode::ShiftJis);
    for (const char* name : {"src/a.htm", "src/b.htm"}) writeFile(scratch / name, page);
    fs::create_directories(scratch / "out");
    window.Form_Load();
    const auto folders = window.state().TempFolders;
    settings.SourceFile = scratch.u("src/a.htm");
    settings.SourceFolder = scratch.u("src");
    settings.DestinationFolder = settings.DestinationFolder1 = scratch.u("out");
    settings.FileTabActive = preview;
    ASSERT_TRUE(window.Fnc_SetInitData(false, {}));
    window.Cmd_FilesRenew_Click();
    window.Trv_Files.Nodes.at(0).Checked = true;
    window.Trv_Files_NodeCheck(0);
    preview ? window.Cmd_Disp_Click() : window.Cmd_Change_Click();

    EXPECT_TRUE(window.Unloaded);
    for (const auto& folder : folders) EXPECT_FALSE(fs::exists(folder)) << folder;
    EXPECT_TRUE(console.messages().empty());
    EXPECT_EQ(readFile(scratch / "src/a.htm"), page);
    EXPECT_EQ(scratch.names("out").size(), preview ? 0u : 1u);  // the run's first page only
    EXPECT_TRUE(fs::exists(scratch / "yentax.INI"));
  }
}

}  // namespace
}  // namespace yentax
