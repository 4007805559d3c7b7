#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QWebEngineView>

#include "app/help_window.h"
#include "tests/qt/modal_answer.h"
#include "tests/qt/preview_window_fixture.h"

namespace yentax {
namespace {

// The program's own help window shows the page it is given, and only a page that exists;
// Esc closes it.
TEST(HelpViewTest, ShowsAnExistingPageInItsOwnWindowAndEscapeClosesIt) {
  ScratchFolder scratch;
  writeFile(scratch / "help.htm",
            "<html><head><meta charset=\"utf-8\"><title>t</title></head>"
            "<body>\xE7\xA8\x8E\xE8\xBE\xBC\xE3\x81\xBF</body></html>");  // 税込み
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  HelpWindow missing(utf8ToUtf16(scratch / "none.htm"));
  forms.show(missing);
  EXPECT_FALSE(missing.Shown);

  HelpWindow help(utf8ToUtf16(scratch / "help.htm"));
  QString title;
  QString text;
  bool asking = false;
  whenModalShows([&](QWidget* window) {
    title = window->windowTitle();
    auto* page = window->findChild<QWebEngineView*>("HelpPage")->page();
    // The first page of a process starts the web engine, which is slow on a busy machine.
    // One ask at a time: asks made faster than a busy engine answers would only queue up.
    waitFor(
        [&] {
          if (text.isEmpty() && !asking) {
            asking = true;
            // An answer made before the page was in is empty.
            page->toPlainText([&](const QString& shown) {
              if (!shown.isEmpty()) text = shown;
              asking = false;
            });
          }
          return !text.isEmpty();
        },
        60000);
    QTest::keyClick(window, Qt::Key_Escape);
  });
  forms.show(help);
  EXPECT_TRUE(help.Shown);
  EXPECT_EQ(title, "ヘルプ");
  EXPECT_EQ(text, "税込み");
}

}  // namespace
}  // namespace yentax
