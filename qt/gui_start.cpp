#include "qt/gui_start.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QIcon>
#include <QSocketNotifier>
#include <cstring>
#include <optional>
#include <ostream>
#include <string_view>

#include "app/application.h"
#include "app/stop_signals.h"
#include "base/utf8.h"
#include "docio/page_conversion.h"
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

bool canConnectToWayland(const std::string& socketName, const std::optional<std::string>& runtime) {
  std::string path = socketName;
  if (!path.starts_with('/')) {
    if (!runtime || runtime->empty()) return false;
    path = *runtime + "/" + path;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

bool platformAvailable(std::string_view platform, const EnvironmentLookup& env) {
  // "xcb:option=value" names the platform before its options.
  platform = platform.substr(0, platform.find(':'));
  const auto display = env("DISPLAY");
  const auto wayland = env("WAYLAND_DISPLAY");
  if (platform == "xcb") return display && !display->empty() && canConnectToX(*display);
  if (platform.starts_with("wayland")) {
    return canConnectToWayland(wayland && !wayland->empty() ? *wayland : "wayland-0",
                               env("XDG_RUNTIME_DIR"));
  }
  return !platform.empty();
}

// The notifier that answers a second start: the window comes to the front.
void answerSecondStarts(InstanceListener& listener, QtUi& ui, QObject* owner) {
  auto* notifier = new QSocketNotifier(listener.descriptor(), QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [&listener, &ui] {
    if (listener.takeActivationRequests()) ui.bringMainWindowToFront();
  });
}

}  // namespace

bool displayAvailable(const EnvironmentLookup& env) {
  if (const auto platforms = env("QT_QPA_PLATFORM"); platforms && !platforms->empty()) {
    // Qt tries the platforms of a ";" list in turn.
    std::string_view rest = *platforms;
    while (!rest.empty()) {
      const auto semicolon = rest.find(';');
      if (platformAvailable(rest.substr(0, semicolon), env)) return true;
      rest = semicolon == std::string_view::npos ? std::string_view{} : rest.substr(semicolon + 1);
    }
    return false;
  }
  const auto wayland = env("WAYLAND_DISPLAY");
  if (wayland && !wayland->empty() && platformAvailable("wayland", env)) return true;
  return platformAvailable("xcb", env);
}

int runDesktopProgram(int& argc, char** argv, const ProgramLocation& location,
                      const CommandLine& line, std::ostream& errors) {
  if (!displayAvailable()) {
    // Whoever named a file most likely meant an unattended run and mistyped it.
    if (!line.argument.empty()) {
      errors << line.argument << ": " << utf16ToUtf8(u"変換設定ファイルが見つかりません。") << '\n';
    }
    errors << location.executableName
           << ": no display to open the window on; give a settings file to run unattended\n"
           << utf16ToUtf8(usageText(utf8ToUtf16(location.executableName), u"\n")) << '\n';
    return 2;
  }
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
