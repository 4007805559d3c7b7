// The preview window itself on one page, measured the way webengine_floor measures the
// bare browser: the seconds from the start of the process to the page drawn (the shown
// browser's loadFinished, once no load is left), then the milliseconds of each of N steps
// to the next amount and of converting the amount it stands on (and the step past it that
// follows), each until the page has laid out the change. bench/preview_floor.sh runs it
// beside the floor.
//
//   preview_open page.htm 20   ->   "loaded 1.234" "step 12.3" ... "convert 45.6"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "base/utf8.h"
#include "preview/preview_form.h"
#include "qt/browser/preview_window.h"
#include "qt/qt_form_host.h"
#include "qt/qt_ui.h"

namespace {

namespace fs = std::filesystem;

// Runs the event loop until the window has no load under way.
void settle(yentax::PreviewWindow& window) {
  while (window.loading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Then until the page has laid out what it was last told to show: a script that needs the
// layout has answered, as webengine_floor waits after each of its steps.
void laidOut(yentax::PreviewWindow& window) {
  settle(window);
  bool answered = false;
  window.browser().widget()->page()->runJavaScript(
      QStringLiteral("document.body.offsetHeight"),
      [&answered](const QVariant& /*height*/) { answered = true; });
  while (!answered) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double millisecondsOf(QElapsedTimer& clock) {
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: preview_open PAGE [STEPS]\n");
    return 2;
  }
  const int steps = argc > 2 ? std::atoi(argv[2]) : 20;
  char pattern[] = "/tmp/yentax-preview-open-XXXXXX";
  const fs::path root = ::mkdtemp(pattern);
  for (const char* folder : {"src", "t0", "t1", "t2", "out"}) fs::create_directories(root / folder);
  const std::string name = fs::path(argv[1]).filename().string();
  fs::copy_file(argv[1], root / "src" / name);
  fs::copy_file(argv[1], root / "t0" / name);

  yentax::ConversionSettings settings;
  settings.LogPath.clear();
  yentax::QtUi ui(u"yentax");
  yentax::QtFormHost forms(ui);
  yentax::PreviewRequest request;
  request.WorkingCopyPath = (root / "t0" / name).string();
  request.SourcePath = yentax::utf8ToUtf16((root / "src" / name).string());
  request.PreviewSourceFolder = yentax::utf8ToUtf16((root / "src").string());
  request.PreviewSaveFolder = yentax::utf8ToUtf16((root / "out").string());
  request.TempFolders = {(root / "t0").string(), (root / "t1").string(), (root / "t2").string()};
  int status = 1;
  {
    yentax::SFrm_Disp form(settings, ui, forms, request);
    yentax::PreviewWindow window(form, ui);
    window.resize(1024, 768);
    window.show();
    if (window.load()) {
      settle(window);
      std::printf("loaded %.3f\n", static_cast<double>(clock.elapsed()) / 1000);
      auto* next = window.findChild<QPushButton*>(QStringLiteral("Cmd_Next(1)"));
      auto* convert = window.findChild<QPushButton*>(QStringLiteral("Cmd_Chenge(1)"));
      for (int i = 0; i < steps; ++i) {
        clock.restart();
        next->click();
        laidOut(window);
        std::printf("step %.1f\n", millisecondsOf(clock));
      }
      clock.restart();
      convert->click();
      laidOut(window);
      std::printf("convert %.1f\n", millisecondsOf(clock));
      std::fflush(stdout);
      status = 0;
    }
  }
  fs::remove_all(root);
  return status;
}
