#pragma once

// The help page in a window of the program's own, over the active window, modally. A
// page that is not an absolute path to a file leaves the form unshown.
//
//   HelpWindow help(u"/usr/share/yentax/HELP/HELP.HTM");
//   showHelpWindow(help);

namespace yentax {

class HelpWindow;

void showHelpWindow(HelpWindow& form);

}  // namespace yentax
