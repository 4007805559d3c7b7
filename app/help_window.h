#pragma once

// HelpWindow: the help page shown in a window of the program's own, for a desktop that
// has no handler for HTML files (a server with a display, a minimal desktop). The host
// shows the page and says so; a host that cannot leaves it unshown.
//
//   HelpWindow help(helpPath);
//   forms.show(help);
//   if (!help.Shown) ui.showMessage(u"ヘルプファイルを開けませんでした。");

#include <string>
#include <utility>

namespace yentax {

class HelpWindow {
 public:
  explicit HelpWindow(std::u16string pagePath) : PagePath(std::move(pagePath)) {}

  std::u16string Caption = u"ヘルプ";
  std::u16string PagePath;
  bool Shown = false;
};

}  // namespace yentax
