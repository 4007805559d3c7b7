#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "app/stop_signals.h"
#include "base/cp932_codec.h"
#include "base/large_buffer.h"
#include "base/utf8.h"
#include "cli/options.h"
#include "cli/run.h"
#include "cli/top_level.h"
#include "docio/page_conversion.h"
#include "platform/console_ui.h"
#include "platform/program_location.h"
#include "platform/single_instance.h"
#include "platform/terminal.h"
#include "ui/form_host.h"
#if YENTAX_WITH_GUI
#include "app/desktop_entry.h"
#endif

namespace {

#if YENTAX_WITH_GUI
// The windows live in a module of their own, so that only an interactive start loads Qt:
// beside the program in a build folder, under the library folder when installed.
int runDesktopModule(int& argc, char** argv, const yentax::ProgramLocation& location,
                     const yentax::CommandLine& line, const std::string& usage) {
  const auto module = yentax::desktopModulePath(location, YENTAX_DESKTOP_MODULE_INSTALLED);
  if (!module) {
    std::cerr << location.executableName
              << ": the window cannot be opened: the program's own folder is unknown "
                 "(/proc/self/exe cannot be read, and the program was started neither by an "
                 "absolute path nor through PATH)\n";
    return 2;
  }
  std::error_code missing;
  if (!std::filesystem::exists(*module, missing)) {
    // The Debian packages keep the window apart, so that a server needs no Qt.
    std::cerr << location.executableName << ": " << *module
              << ": the window is not installed (it is in the package yentax-desktop); the "
                 "commands work without it: "
              << location.executableName << " --help\n";
    return 2;
  }
  // Global, so that the browser module it loads later finds its code.
  void* const handle = ::dlopen(module->c_str(), RTLD_NOW | RTLD_GLOBAL);
  void* const entry = handle ? ::dlsym(handle, kDesktopProgramEntryName) : nullptr;
  if (entry == nullptr) {
    std::cerr << "yentax: the desktop program cannot be loaded: " << ::dlerror() << '\n'
              << usage << '\n';
    return 2;
  }
  // The module stays loaded to the end: Qt's objects live until the process exits.
  return reinterpret_cast<DesktopProgramEntry>(entry)(&argc, argv, &location, &line, &std::cerr);
}
#endif

// The tables of code page 932, built while a run starts up: the settings file is the
// first text they decode. The future waits for them, so nothing is left running.
std::future<void> prepareCodePage() {
  try {
    return std::async(std::launch::async, yentax::prepareCp932);
  } catch (const std::system_error&) {
    return {};
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace yentax;
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const auto location = locateRunningProgram(argc > 0 ? argv[0] : "yentax");
  const TopLevel top = classifyTopLevel(arguments, [](const std::string& path) {
    std::error_code missing;
    return std::filesystem::exists(path, missing);
  });
  std::future<void> codePage;
  switch (top.kind) {
    case TopLevelKind::kCommand:
      keepFreedRoom();
      codePage = prepareCodePage();
      return runCli(arguments, {.out = std::cout,
                                .err = std::cerr,
                                .errIsTerminal = ::isatty(STDERR_FILENO) != 0,
                                .terminalColumns = terminalColumns(STDERR_FILENO),
                                .in = &std::cin,
                                .programFolder = utf8ToUtf16(location.programFolder),
                                .executableName = location.executableName});
    case TopLevelKind::kHelp:
      std::cout << topLevelUsage(location.executableName);
      return 0;
    case TopLevelKind::kVersion:
      std::cout << cliVersion(location.executableName) << '\n';
      return 0;
    case TopLevelKind::kRefused:
      std::cerr << location.executableName << ": " << top.message << '\n';
      return 2;
    case TopLevelKind::kSettingsFile:
      break;
  }
  std::error_code error;
  const auto currentFolder = std::filesystem::current_path(error).string();
  const auto line =
      findSettingsFile(parseCommandLine(arguments, currentFolder), location.programFolder);
  const auto usage = utf16ToUtf8(usageText(utf8ToUtf16(location.executableName), u"\n"));

  if (!line.namesSettingsFile) {
    // An interactive start: a window already open for this executable comes forward.
    if (const auto socket = instanceSocketPath(location.executablePath);
        socket && ActivateRunningInstance(location.executablePath, *socket)) {
      return 0;
    }
#if YENTAX_WITH_GUI
    const int status = runDesktopModule(argc, argv, location, line, usage);
    // Windows closed by a stop signal end the program by that signal, as a run does.
    endByCaughtSignal();
    return status;
#else
    if (!line.argument.empty()) {
      std::cerr << line.argument << ": " << utf16ToUtf8(u"変換設定ファイルが見つかりません。")
                << '\n';
    }
    std::cerr << usage << '\n';
    return 2;
#endif
  }

  keepFreedRoom();
  codePage = prepareCodePage();
  // Before the working folders exist, so that no signal can leave them behind.
  catchStopSignals();
  ConsoleUi::Options options;
  options.messageStream = nullptr;
  options.defaultAnswer = MessageAnswer::Yes;
  ConsoleUi ui(std::move(options));
  MainWindowPorts ports;
  ports.convert = convertPageBytes;
  ports.stopRequested = [] { return caughtStopSignal() != 0; };
  int status = 0;
  {
    FormHost noForms;  // an unattended run opens no other window
    Application application(location, line, ui, noForms, std::move(ports));
    status = application.runUnattended(std::cerr);
  }
  endByCaughtSignal();
  return status;
}
