#pragma once

// Small pieces the settings dialogs share: widgets named after an element of a control
// array ("Opt_Log(1)"), a hook for a widget getting the focus, and the dialog base that
// sends Esc and the close box to the form's cancel.
//
//   auto* box = makeAt<QRadioButton>(page, "Opt_Log", 1);

#include <QDialog>
#include <QDialogButtonBox>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "qt/bindings.h"

class QColor;

namespace yentax {

// A widget named after element index of a control array.
template <class Widget>
Widget* makeAt(QWidget* parent, const char* controlName, int index) {
  const auto name = std::string(controlName) + "(" + std::to_string(index) + ")";
  return make<Widget>(parent, name.c_str());
}

// 0x00BBGGRR as a QColor.
QColor colorFromValue(std::uint32_t value);

// Runs onFocus each time widget gets the focus, once the event that gave it is done (a
// click places the cursor after the focus arrives).
void whenFocused(QWidget* widget, std::function<void()> onFocus);

// A settings dialog over a form model: the bindings, and Esc or the close box running
// the form's cancel handler, after which the bindings close the dialog.
class FormDialog : public QDialog {
 public:
  FormDialog(QtUi& ui, std::u16string_view caption, QWidget* parent);

 protected:
  void reject() override;
  // Set by the view: what the form does on Cancel.
  std::function<void()> onCancel;

  // The OK and Cancel buttons of a small dialog: the form's pair named controlName, its
  // entries 0 (OK, the default button) and 1 (Cancel), each clicking the form's handler
  // with its index; Esc and the close box click Cancel.
  QDialogButtonBox* okCancelButtons(const char* controlName,
                                    const std::array<CaptionControl, 2>& controls,
                                    const std::function<void(int)>& click);

  ViewBindings bind_;
};

}  // namespace yentax
