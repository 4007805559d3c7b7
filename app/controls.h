#pragma once

#include <string>
#include <vector>

namespace yentax {

// The state of a form's controls as the view shows them. A view copies these to its
// widgets after every event and copies the user's edits back before calling a handler.

struct Control {
  bool Enabled = true;
  bool Visible = true;
};

// Buttons, labels and frames.
struct CaptionControl : Control {
  std::u16string Caption;
};

struct TextBox : Control {
  std::u16string Text;
};

struct MenuItem : CaptionControl {
  bool Checked = false;
};

struct TabStrip : Control {
  std::vector<std::u16string> Tabs;
  int SelectedIndex = 0;
};

}  // namespace yentax
