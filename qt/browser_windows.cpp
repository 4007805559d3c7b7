#include "qt/browser_windows.h"

#include <dlfcn.h>

#include <optional>

#include "app/help_window.h"
#include "qt/qt_form_host.h"
#include "ui/ui_host.h"

namespace yentax {

namespace {

constexpr std::u16string_view kPreviewNotOpened = u"プレビューを開けませんでした。";

// Filled in before any window can open: by the module as it loads, or at the start of a
// program that links the windows in.
std::optional<BrowserWindows>& registered() {
  static std::optional<BrowserWindows> windows;
  return windows;
}

}  // namespace

void registerBrowserWindows(const BrowserWindows& windows) { registered() = windows; }

const BrowserWindows* browserWindows(const std::string& modulePath, std::string& cause) {
  if (!registered()) {
    // The module stays loaded to the end, as the desktop module does: its windows' code
    // and Qt's objects of the browser engine live until the process exits.
    if (::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL) == nullptr) {
      const char* error = ::dlerror();
      cause = error != nullptr ? error : modulePath + ": cannot be loaded";
      return nullptr;
    }
    if (!registered()) {
      cause = modulePath + ": holds no browser windows";
      return nullptr;
    }
  }
  return &*registered();
}

std::string browserModulePath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&browserModulePath), &info) == 0 ||
      info.dli_fname == nullptr) {
    return "yentax-browser.so";
  }
  const std::string self = info.dli_fname;
  const std::size_t slash = self.rfind('/');
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) +
         "yentax-browser.so";
}

void QtFormHost::show(SFrm_Disp& form) {
  std::string cause;
  if (const BrowserWindows* windows = browserWindows(browserModulePath(), cause)) {
    windows->showPreview(form, ui_);
    return;
  }
  ui_.showMessage(messageWithCause(kPreviewNotOpened, cause), MessageIcon::Critical);
}

// A help window that cannot open leaves the page unshown, which the caller reports.
void QtFormHost::show(HelpWindow& form) {
  std::string cause;
  if (const BrowserWindows* windows = browserWindows(browserModulePath(), cause)) {
    windows->showHelp(form);
  }
}

}  // namespace yentax
