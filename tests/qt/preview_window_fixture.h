#pragma once

// A page opened in the preview window under a scratch folder, with scripted answers, and
// the shop page the preview tests open.

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QWebEngineView>
#include <functional>
#include <memory>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "qt/browser/preview_window.h"
#include "qt/qt_form_host.h"
#include "qt/qt_ui.h"
#include "tests/scratch_folder.h"

namespace yentax {

inline bool waitFor(const std::function<bool()>& done, int milliseconds = 15000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// A page opened in the preview window, with scripted answers.
struct WindowOnPage {
  ScratchFolder scratch;
  ConsoleUi ui{quiet()};
  QtUi qtUi{u"yentax"};
  QtFormHost forms{qtUi};
  ConversionSettings settings;
  std::unique_ptr<SFrm_Disp> form;
  std::unique_ptr<PreviewWindow> window;

  static ConsoleUi::Options quiet() {
    ConsoleUi::Options options;
    options.messageStream = nullptr;
    return options;
  }

  using Files = std::vector<std::pair<std::string, std::string>>;

  // The page src/a.htm and other files below the scratch folder, and links there to
  // other places below it.
  explicit WindowOnPage(const std::string& bytes, const Files& files = {},
                        const Files& links = {}) {
    for (const auto& [path, contents] : files) writeFile(scratch / path, contents);
    for (const auto& [link, target] : links) {
      std::filesystem::create_symlink(scratch / target, scratch / link);
    }
    settings.LogPath.clear();
    settings.ConfirmOverwrite = false;
    ui.onPendingEvents([] { QCoreApplication::processEvents(); });
    for (const char* folder : {"t0", "t1", "t2", "out"}) {
      std::filesystem::create_directories(scratch / folder);
    }
    writeFile(scratch / "src/a.htm", bytes);
    writeFile(scratch / "t0/a.htm", bytes);
    PreviewRequest request;
    request.WorkingCopyPath = scratch / "t0/a.htm";
    request.SourcePath = utf8ToUtf16(scratch / "src/a.htm");
    request.PreviewSourceFolder = utf8ToUtf16(scratch / "src");
    request.PreviewSaveFolder = utf8ToUtf16(scratch / "out");
    request.TempFolders = {scratch / "t0", scratch / "t1", scratch / "t2"};
    form = std::make_unique<SFrm_Disp>(settings, ui, forms, request);
    window = std::make_unique<PreviewWindow>(*form, qtUi);
    window->show();
    EXPECT_TRUE(window->load());
    EXPECT_TRUE(settled());
  }

  QWebEngineView* shown() const { return window->browser().widget(); }
  bool settled() {
    return waitFor([&] { return !window->loading(); });
  }
  QVariant run(const QString& script) {
    QVariant result;
    bool done = false;
    shown()->page()->runJavaScript(script, [&](const QVariant& value) {
      result = value;
      done = true;
    });
    waitFor([&] { return done; });
    return result;
  }
  // The highlight comes in a task of the page's own after the step: waits for it.
  bool selects(const char* text) {
    return waitFor([&] {
      return run("window.getSelection().toString()").toString() == QString::fromUtf8(text);
    });
  }
  void click(const char* name) {
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
    settled();
  }
};

inline std::string sjis(std::u16string_view text) {
  return encodePageText(text, CharsetCode::ShiftJis);
}

inline std::string png() {
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

inline std::u16string shop(std::u16string_view price) {
  return u"<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
         u"charset=Shift_JIS\"><TITLE>t</TITLE></HEAD>\r\n<BODY><IMG SRC=\"img/p.png\">"
         u"<TABLE BORDER=1><TR><TD>価格</TD><TD>" +
         std::u16string(price) + u"</TD></TR></TABLE>\r\n<P>送料 500円</P></BODY></HTML>";
}

}  // namespace yentax
