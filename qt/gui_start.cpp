#include "qt/gui_start.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QIcon>
#include <QSocketNotifier>
#include <optional>
#include <ostream>

#include "app/application.h"
#include "app/stop_signals.h"
#include "base/utf8.h"
#include "docio/page_conversion.h"
#include "platform/display_check.h"
#include "platform/single_instance.h"
#include "platform/stopping_ui.h"
#include "platform/version_info.h"
#include "qt/main_window_view.h"
#include "qt/qt_form_host.h"
#include "qt/qt_ui.h"
#include "qt/window_stop.h"

namespace yentax {

namespace {

bool canConnectToX(const std::string& display) {
  int screen = 0;
  xcb_connection_t* connection = xcb_connect(display.c_str(), &screen);
  const bool connected = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return connected;
}

// The notifier that answers a second start: the window comes to the front.
void answerSecondStarts(InstanceListener& listener, QtUi& ui, QObject* owner) {
  auto* notifier = new QSocketNotifier(listener.descriptor(), QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [&listener, &ui] {
    if (listener.takeActivationRequests()) ui.bringMainWindowToFront();
  });
}

}  // namespace

int runDesktopProgram(int& argc, char** argv, const ProgramLocation& location,
                      const CommandLine& line, std::ostream& errors) {
  DisplayProbes probes;
  probes.connectToX = canConnectToX;
  if (!displayAvailable(systemEnvironment, probes)) {
    // Whoever named a file most likely meant an unattended run and mistyped it.
    if (!line.argument.empty()) {
      errors << line.argument << ": " << utf16ToUtf8(u"変換設定ファイルが見つかりません。") << '\n';
    }
    errors << location.executableName
           << ": no display to open the window on; give a settings file to run unattended\n"
           << utf16ToUtf8(usageText(utf8ToUtf16(location.executableName), u"\n")) << '\n';
    return 2;
  }
  // The browser engine, loaded when the first preview opens, draws through the
  // application's shared OpenGL context, which is made only when asked for this early.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  installJapaneseTranslation(app);
  // Every window and dialog takes the application's icon: the installed one from the icon
  // theme, in a build folder the copy beside the program.
  QApplication::setWindowIcon(QIcon::fromTheme(
      "yentax", QIcon(QString::fromStdString(location.executableFolder + "/yentax.svg"))));
  QtUi qtUi{std::u16string(kProgramTitle)};
  StoppingUi ui(qtUi);
  QtFormHost forms(qtUi);
  MainWindowPorts ports;
  ports.convert = convertPageBytes;
  ports.stopRequested = [&ui] { return ui.stopped(); };
  // Before the working folders exist, so that no signal can leave them behind.
  const int stopSignals = catchStopSignalsForEventLoop();
  Application application(location, line, ui, forms, std::move(ports));
  auto& form = application.mainWindow();
  form.Form_Load();

  MainWindowView view(form, qtUi);
  qtUi.setMainWindow(&view);
  std::optional<WindowStop> stop;
  if (stopSignals >= 0) stop.emplace(stopSignals, ui, view);
  std::optional<InstanceListener> listener;
  if (const auto socket = instanceSocketPath(location.executablePath)) {
    listener = InstanceListener::listen(*socket);
  }
  if (listener) answerSecondStarts(*listener, qtUi, &view);
  view.show();
  const int status = QApplication::exec();
  // Quitting without closing the window (the session ends) still saves the settings.
  if (!form.Unloaded) form.Form_Unload();
  return status;
}

}  // namespace yentax

int yentaxRunDesktopProgram(int* argc, char** argv, const yentax::ProgramLocation* location,
                            const yentax::CommandLine* line, std::ostream* errors) {
  return yentax::runDesktopProgram(*argc, argv, *location, *line, *errors);
}
