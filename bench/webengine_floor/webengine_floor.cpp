// The floor under the preview: a bare QWebEngineView that loads one file, as the browser
// engine alone opens it. It prints the seconds from its start to loadFinished and ends;
// bench/preview_floor.sh runs it beside the preview's own figures.
//
//   webengine_floor page.htm   ->   "loaded 1.234"

#include <QApplication>
#include <QElapsedTimer>
#include <QUrl>
#include <QWebEngineView>
#include <cstdio>

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: webengine_floor PAGE\n");
    return 2;
  }
  QWebEngineView view;
  view.resize(1024, 768);
  QObject::connect(&view, &QWebEngineView::loadFinished, &app, [&](bool ok) {
    std::printf("%s %.3f\n", ok ? "loaded" : "failed", static_cast<double>(clock.elapsed()) / 1000);
    std::fflush(stdout);
    QApplication::exit(ok ? 0 : 1);
  });
  view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
  view.show();
  return QApplication::exec();
}
