// The browser windows make themselves known as their code is loaded: when the module is
// loaded, or when a program that links them in starts.

#include "qt/browser/help_view.h"
#include "qt/browser/preview_window.h"
#include "qt/browser_windows.h"

namespace yentax {

namespace {

[[maybe_unused]] const bool registered = [] {
  registerBrowserWindows({.showPreview = showPreviewWindow, .showHelp = showHelpWindow});
  return true;
}();

}  // namespace

}  // namespace yentax
