// The floor under the preview: a bare QWebEngineView that loads one file, as the browser
// engine alone opens it. It prints the seconds from its start to loadFinished; given a
// number of steps, it then moves the document's selection from cell to cell of the page
// that many times, scrolling each into view as the preview does with the amount it
// stands on, changes one cell's text and steps on, and changes one digit of the cell it
// then stands on, each time waiting for the page to answer, and prints the milliseconds
// of each. bench/preview_floor.sh runs it beside the preview's own figures.
//
//   webengine_floor page.htm [steps]
//     ->   "loaded 1.234" "step 12.3" ... "edit 45.6" "digit 23.4"

#include <QApplication>
#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>

namespace {

// Runs a script in the page and waits for its answer.
void runAndWait(QWebEngineView& view, const QString& script) {
  bool answered = false;
  view.page()->runJavaScript(script, [&answered](const QVariant&) { answered = true; });
  while (!answered) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double millisecondsOf(QElapsedTimer& clock) {
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The preview moves its highlight in steps of the page's amounts; here, three hundred
// cells on each time.
constexpr char kStep[] = R"((function (step) {
  var cell = document.getElementsByTagName('td')[step * 300 + 1];
  if (!cell || !cell.firstChild) return false;
  var range = document.createRange();
  range.selectNodeContents(cell.firstChild);
  var selection = window.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  var box = range.getBoundingClientRect();
  window.scrollBy(0, box.top);
  return true;
}))";

constexpr char kEdit[] = R"((function () {
  var text = window.getSelection().anchorNode;
  text.data = text.data + '(tax)';
  return document.body.offsetHeight;
})())";

// The least change a cell can take: one digit of the selected text for another, which
// leaves every width as it was. What the engine takes for it is the floor under any
// conversion shown inside a table.
constexpr char kDigit[] = R"((function () {
  var text = window.getSelection().anchorNode;
  text.data = text.data.replace(/[0-9]/, function (d) { return d === '8' ? '9' : '8'; });
  return document.body.offsetHeight;
})())";

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: webengine_floor PAGE [STEPS]\n");
    return 2;
  }
  const int steps = argc == 3 ? std::atoi(argv[2]) : 0;
  QWebEngineView view;
  view.resize(1024, 768);
  bool finished = false;
  bool loaded = false;
  QObject::connect(&view, &QWebEngineView::loadFinished, &app, [&](bool ok) {
    std::printf("%s %.3f\n", ok ? "loaded" : "failed", static_cast<double>(clock.elapsed()) / 1000);
    std::fflush(stdout);
    finished = true;
    loaded = ok;
  });
  view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
  view.show();
  while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (!loaded) return 1;
  // Each time until a script that needs the layout has answered, as for the preview.
  const QString laidOut = QStringLiteral("document.body.offsetHeight");
  for (int i = 0; i < steps; ++i) {
    clock.restart();
    runAndWait(view, QString::fromLatin1(kStep) + QStringLiteral("(%1)").arg(i));
    runAndWait(view, laidOut);
    std::printf("step %.1f\n", millisecondsOf(clock));
  }
  if (steps > 0) {
    // As the preview converts: the text changed, then a step on to the next cell.
    clock.restart();
    runAndWait(view, QString::fromLatin1(kEdit));
    runAndWait(view, QString::fromLatin1(kStep) + QStringLiteral("(%1)").arg(steps));
    runAndWait(view, laidOut);
    std::printf("edit %.1f\n", millisecondsOf(clock));
    clock.restart();
    runAndWait(view, QString::fromLatin1(kDigit));
    runAndWait(view, laidOut);
    std::printf("digit %.1f\n", millisecondsOf(clock));
  }
  std::fflush(stdout);
  return 0;
}
