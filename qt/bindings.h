#pragma once

// ViewBindings: the link between a form model's controls and a view's widgets. A view
// lists one binding per widget; refreshFromModel() copies every control to its widget
// (with the widget's signals blocked, so that the copy never fires a handler), and
// handle() copies the user's edits back, runs the form's handler and refreshes.
//
//   ViewBindings bind(&ui);
//   bind.text(make<QLineEdit>(this, "Txt_File"), form.Txt_File);
//   bind.clicked(make<QPushButton>(this, "Cmd_Change"), form.Cmd_Change,
//                [&] { form.Cmd_Change_Click(); });
//   bind.refreshFromModel();

#include <QObject>
#include <QWidget>
#include <functional>
#include <vector>

#include "qt/qt_ui.h"
#include "ui/controls.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QTabBar;
class QTabWidget;

namespace yentax {

// A new widget named after its control, so that tests find it with findChild.
template <class Widget>
Widget* make(QWidget* parent, const char* controlName) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(controlName));
  return widget;
}

class ViewBindings : public RefreshableView {
 public:
  using Handler = std::function<void()>;

  // With a QtUi, the bindings refresh at every processPendingEvents while they live.
  explicit ViewBindings(QtUi* ui = nullptr);
  ~ViewBindings() override;
  ViewBindings(const ViewBindings&) = delete;
  ViewBindings& operator=(const ViewBindings&) = delete;

  void refreshFromModel() override;
  // Copies the widgets' edits into the controls.
  void collect();
  // collect(), the handler, then refreshFromModel() and the close check. Nested events
  // (a handler that pumps events) run their own handlers in full.
  void handle(const Handler& handler);
  // After each handled event, done(result) closes the dialog once the form says so.
  void closeWhen(QDialog* dialog, std::function<bool()> closed);

  // Enabled and visible only.
  void control(QWidget* widget, const Control& control);
  // Caption, enabled and visible; a click runs the handler.
  void clicked(QAbstractButton* button, const CaptionControl& control, Handler onClick);
  void label(QLabel* label, const CaptionControl& control);
  // A box named by the caption of the control beside it (no label of its own), so that a
  // screen reader announces it; the accelerator's "&" is left out.
  void accessibleName(QWidget* widget, const CaptionControl& namedBy);
  // Edits go back to Text; onChange runs after each edit when given.
  void text(QLineEdit* edit, TextBox& control, Handler onChange = {});
  void check(QCheckBox* box, CheckBox& control, Handler onClick = {});
  void option(QRadioButton* button, OptionButton& control, Handler onClick = {});
  void combo(QComboBox* box, ComboBox& control, Handler onChange = {});
  void list(QListWidget* list, ListBox& control, Handler onChange = {});
  void tabs(QTabWidget* tabs, TabStrip& control, Handler onChange = {});
  void tabs(QTabBar* tabs, TabStrip& control, Handler onChange = {});
  void menu(QAction* action, const MenuItem& control, Handler onTrigger);
  void richText(QPlainTextEdit* edit, RichTextBox& control, Handler onChange = {});

  // Any other pairing: push copies the model to the widget, pull copies edits back.
  void custom(Handler push, Handler pull = {});

 private:
  struct Binding {
    QObject* widget;
    Handler push;
    Handler pull;
  };

  void add(QObject* widget, Handler push, Handler pull);
  Handler wrap(Handler handler);

  QtUi* ui_;
  std::vector<Binding> bindings_;
  QDialog* dialog_ = nullptr;
  std::function<bool()> closed_;
  bool pushing_ = false;
};

}  // namespace yentax
