#include "qt/bindings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

namespace yentax {

namespace {

void showState(QWidget* widget, const Control& control) {
  if (widget->isEnabled() != control.Enabled) widget->setEnabled(control.Enabled);
  // A hidden parent hides its children anyway; only the control's own flag is copied.
  if (widget->isHidden() == control.Visible) widget->setVisible(control.Visible);
}

void setItems(QComboBox* box, const std::vector<std::u16string>& items) {
  QStringList wanted;
  for (const auto& item : items) wanted << toQString(item);
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
  if (shown == wanted) return;
  box->clear();
  box->addItems(wanted);
}

void setItems(QListWidget* list, const std::vector<std::u16string>& items) {
  bool same = list->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < list->count(); ++i) {
    same = list->item(i)->text() == toQString(items[static_cast<std::size_t>(i)]);
  }
  if (same) return;
  list->clear();
  for (const auto& item : items) list->addItem(toQString(item));
}

// The list that drops down is read as a list of its own; it takes the box's name, which
// comes from the label the box is the buddy of.
void nameDropDownList(QComboBox* box) {
  if (!box->view()->accessibleName().isEmpty()) return;
  if (auto* accessible = QAccessible::queryAccessibleInterface(box)) {
    box->view()->setAccessibleName(accessible->text(QAccessible::Name));
  }
}

}  // namespace

ViewBindings::ViewBindings(QtUi* ui) : ui_(ui) {
  if (ui_) ui_->addView(this);
}

ViewBindings::~ViewBindings() {
  if (ui_) ui_->removeView(this);
}

void ViewBindings::add(QObject* widget, Handler push, Handler pull) {
  bindings_.push_back({widget, std::move(push), std::move(pull)});
}

void ViewBindings::refreshFromModel() {
  pushing_ = true;
  for (const auto& binding : bindings_) {
    const QSignalBlocker blocker(binding.widget);
    binding.push();
  }
  pushing_ = false;
}

void ViewBindings::collect() {
  for (const auto& binding : bindings_) {
    if (binding.pull) binding.pull();
  }
}

void ViewBindings::handle(const Handler& handler) {
  collect();
  handler();
  refreshFromModel();
  if (dialog_ && closed_ && closed_()) dialog_->done(QDialog::Accepted);
}

void ViewBindings::closeWhen(QDialog* dialog, std::function<bool()> closed) {
  dialog_ = dialog;
  closed_ = std::move(closed);
}

ViewBindings::Handler ViewBindings::wrap(Handler handler) {
  return [this, handler = std::move(handler)] {
    if (!pushing_) handle(handler);
  };
}

void ViewBindings::control(QWidget* widget, const Control& control) {
  add(widget, [widget, &control] { showState(widget, control); }, {});
}

void ViewBindings::clicked(QAbstractButton* button, const CaptionControl& control,
                           Handler onClick) {
  add(button,
      [button, &control] {
        showState(button, control);
        button->setText(toQString(control.Caption));
      },
      {});
  QObject::connect(button, &QAbstractButton::clicked, button, wrap(std::move(onClick)));
}

void ViewBindings::label(QLabel* label, const CaptionControl& control) {
  label->setTextFormat(Qt::PlainText);
  add(label,
      [label, &control] {
        showState(label, control);
        label->setText(toQString(control.Caption));
      },
      {});
}

void ViewBindings::accessibleName(QWidget* widget, const CaptionControl& namedBy) {
  add(widget,
      [widget, &namedBy] {
        QString name = toQString(namedBy.Caption);
        name.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
        if (widget->accessibleName() != name) widget->setAccessibleName(name);
      },
      {});
}

void ViewBindings::text(QLineEdit* edit, TextBox& control, Handler onChange) {
  add(
      edit,
      [edit, &control] {
        showState(edit, control);
        const auto text = toQString(control.Text);
        if (edit->text() != text) edit->setText(text);
      },
      [edit, &control] { control.Text = fromQString(edit->text()); });
  if (onChange) QObject::connect(edit, &QLineEdit::textEdited, edit, wrap(std::move(onChange)));
}

void ViewBindings::check(QCheckBox* box, CheckBox& control, Handler onClick) {
  add(
      box,
      [box, &control] {
        showState(box, control);
        box->setText(toQString(control.Caption));
        box->setChecked(control.Checked);
      },
      [box, &control] { control.Checked = box->isChecked(); });
  if (onClick) QObject::connect(box, &QCheckBox::clicked, box, wrap(std::move(onClick)));
}

void ViewBindings::option(QRadioButton* button, OptionButton& control, Handler onClick) {
  add(
      button,
      [button, &control] {
        showState(button, control);
        button->setText(toQString(control.Caption));
        button->setChecked(control.Checked);
      },
      [button, &control] { control.Checked = button->isChecked(); });
  if (onClick) QObject::connect(button, &QRadioButton::clicked, button, wrap(std::move(onClick)));
}

void ViewBindings::combo(QComboBox* box, ComboBox& control, Handler onChange) {
  add(
      box,
      [box, &control] {
        showState(box, control);
        setItems(box, control.Items);
        box->setCurrentIndex(control.ListIndex);
        nameDropDownList(box);
      },
      [box, &control] { control.ListIndex = box->currentIndex(); });
  if (onChange) {
    QObject::connect(box, &QComboBox::activated, box,
                     [run = wrap(std::move(onChange))](int) { run(); });
  }
}

void ViewBindings::list(QListWidget* list, ListBox& control, Handler onChange) {
  add(
      list,
      [list, &control] {
        showState(list, control);
        setItems(list, control.Items);
        const int row = ListBox::selectionOf(control.ListIndex, true, list->count());
        if (row < 0) {
          // The focus frame may stay where it is; it selects nothing.
          list->clearSelection();
        } else {
          list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        }
      },
      [list, &control] {
        const auto* current = list->currentItem();
        control.ListIndex = ListBox::selectionOf(list->currentRow(),
                                                 current && current->isSelected(), list->count());
      });
  if (onChange) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, wrap(std::move(onChange)));
  }
}

void ViewBindings::tabs(QTabWidget* tabs, TabStrip& control, Handler onChange) {
  add(
      tabs,
      [tabs, &control] {
        showState(tabs, control);
        for (int i = 0; i < tabs->count() && i < static_cast<int>(control.Tabs.size()); ++i) {
          tabs->setTabText(i, toQString(control.Tabs[static_cast<std::size_t>(i)]));
        }
        tabs->setCurrentIndex(control.SelectedIndex);
      },
      [tabs, &control] { control.SelectedIndex = tabs->currentIndex(); });
  if (onChange) {
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [run = wrap(std::move(onChange))](int) { run(); });
  }
}

void ViewBindings::tabs(QTabBar* tabs, TabStrip& control, Handler onChange) {
  add(
      tabs,
      [tabs, &control] {
        showState(tabs, control);
        while (tabs->count() < static_cast<int>(control.Tabs.size())) tabs->addTab(QString());
        for (int i = 0; i < static_cast<int>(control.Tabs.size()); ++i) {
          tabs->setTabText(i, toQString(control.Tabs[static_cast<std::size_t>(i)]));
        }
        tabs->setCurrentIndex(control.SelectedIndex);
      },
      [tabs, &control] { control.SelectedIndex = tabs->currentIndex(); });
  if (onChange) {
    QObject::connect(tabs, &QTabBar::currentChanged, tabs,
                     [run = wrap(std::move(onChange))](int) { run(); });
  }
}

void ViewBindings::menu(QAction* action, const MenuItem& control, Handler onTrigger) {
  add(action,
      [action, &control] {
        action->setText(toQString(control.Caption));
        action->setEnabled(control.Enabled);
        action->setVisible(control.Visible);
        action->setCheckable(control.Checked);
        action->setChecked(control.Checked);
      },
      {});
  QObject::connect(action, &QAction::triggered, action, wrap(std::move(onTrigger)));
}

void ViewBindings::richText(QPlainTextEdit* edit, RichTextBox& control, Handler onChange) {
  // The model's text is compared with what was last copied in, and the editor's text goes
  // back only when the user changed it, so that a refresh never resets the editor. A
  // hidden editor is left as it is until it shows: a page's whole text is long to compare
  // at every refresh.
  auto shown = std::make_shared<std::u16string>();
  add(
      edit,
      [edit, &control, shown] {
        showState(edit, control);
        if (!control.Visible) return;
        if (*shown != control.Text || edit->document()->isEmpty() != control.Text.empty()) {
          *shown = control.Text;
          edit->setPlainText(toQString(control.Text));
        }
        const int end = edit->document()->characterCount() - 1;
        // The model holds the text with LF line ends, as the editor does, so positions
        // match one for one.
        const int start = std::clamp(control.SelStart, 0, end);
        const int stop = std::clamp(control.SelStart + control.SelLength, start, end);
        auto cursor = edit->textCursor();
        if (cursor.selectionStart() == start && cursor.selectionEnd() == stop) return;
        cursor.setPosition(start);
        cursor.setPosition(stop, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
      },
      [edit, &control, shown] {
        if (!control.Visible) return;
        if (edit->document()->isModified()) {
          control.Text = fromQString(edit->toPlainText());
          *shown = control.Text;
          edit->document()->setModified(false);
        }
        const auto cursor = edit->textCursor();
        control.SelStart = cursor.selectionStart();
        control.SelLength = cursor.selectionEnd() - control.SelStart;
      });
  if (onChange) {
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, wrap(std::move(onChange)));
  }
}

void ViewBindings::custom(Handler push, Handler pull) {
  add(nullptr, std::move(push), std::move(pull));
}

}  // namespace yentax
