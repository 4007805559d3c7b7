#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTabBar>
#include <filesystem>
#include <fstream>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "preview/preview_form.h"
#include "qt/browser/preview_window.h"
#include "tools/screenshots/screenshots.h"

namespace yentax {
namespace {

// Lets the browsers finish loading and painting.
void settle(PreviewWindow& window) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 10000 && window.loading()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  for (timer.restart(); timer.elapsed() < 500;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

constexpr std::u16string_view kSamplePage =
    u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
    u"<title>今週のおすすめ</title></head>\r\n<body>\r\n<h1>今週のおすすめ</h1>\r\n"
    u"<p>帆布のトートバッグ　\\1,980</p>\r\n<p>陶器のマグカップ　980円</p>\r\n"
    u"<table border=\"1\" cellpadding=\"4\">\r\n"
    u"<tr><th>商品名</th><th>サイズ</th><th>価格</th></tr>\r\n"
    u"<tr><td>ガーゼハンカチ</td><td>30cm</td><td>650円</td></tr>\r\n"
    u"<tr><td>木のスプーン</td><td>18cm</td><td>1,200円</td></tr>\r\n"
    u"<tr><td>リネンのクロス</td><td>50cm</td><td>2,400円</td></tr>\r\n</table>\r\n"
    u"<p>送料は全国一律 500円です。</p>\r\n</body></html>\r\n";

const bool registered = registerShots("preview", [](ShotContext& shot) {
  namespace fs = std::filesystem;
  const auto folder = [&](const char* name) {
    const auto path = shot.scratch() + "/" + name;
    fs::create_directories(path);
    return path;
  };
  const auto source = folder("src");
  const auto page = encodePageText(kSamplePage, CharsetCode::ShiftJis);
  for (const auto& copy : {source + "/shop_sjis.htm", folder("t0") + "/shop_sjis.htm"}) {
    std::ofstream(copy, std::ios::binary) << page;
  }
  PreviewRequest request;
  request.WorkingCopyPath = shot.scratch() + "/t0/shop_sjis.htm";
  request.SourcePath = utf8ToUtf16(source + "/shop_sjis.htm");
  request.PreviewSourceFolder = utf8ToUtf16(source);
  request.PreviewSaveFolder = utf8ToUtf16(folder("out"));
  request.TempFolders = {shot.scratch() + "/t0", folder("t1"), folder("t2")};

  ConversionSettings settings;
  FormHost forms;
  SFrm_Disp form(settings, shot.ui(), forms, request);
  PreviewWindow window(form, shot.ui());
  window.resize(900, 640);
  window.show();
  if (!window.load()) return;
  settle(window);
  window.findChild<QPushButton*>("Cmd_Next(1)")->click();
  settle(window);
  window.findChild<QPushButton*>("Cmd_Next(1)")->click();
  settle(window);
  shot.save(window, "preview", window.size());
  window.findChild<QTabBar*>("Tab1")->setCurrentIndex(SFrm_Disp::kTableTab);
  settle(window);
  window.findChild<QPushButton*>("Cmd_Col(1)")->click();
  settle(window);
  shot.save(window, "preview_table", window.size());
});

}  // namespace
}  // namespace yentax
