#pragma once

// The windows that hold a browser, the preview and the help page, live in a module of
// their own (yentax-browser.so, beside the desktop module), loaded the first time one of
// them opens: the browser engine takes longer to load than the main window takes to
// show. The module registers its windows as it is loaded; a program that links them in
// (the tests, the screenshots) has them registered from its start.
//
//   forms.show(previewForm);  // QtFormHost: loads the module once, then shows the window

#include <string>

namespace yentax {

class HelpWindow;
class QtUi;
class SFrm_Disp;

struct BrowserWindows {
  void (*showPreview)(SFrm_Disp& form, QtUi& ui);
  void (*showHelp)(HelpWindow& form);
};

// Called by the browser windows' own code as it is loaded.
void registerBrowserWindows(const BrowserWindows& windows);

// The browser windows; the first call without them loads the module at modulePath.
// Nothing when it cannot be loaded, and cause tells why.
const BrowserWindows* browserWindows(const std::string& modulePath, std::string& cause);

// Where the browser module lies: beside the module or program this code was loaded from.
std::string browserModulePath();

}  // namespace yentax
