#include "qt/dialog_parts.h"

#include <QColor>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

namespace yentax {

QColor colorFromValue(std::uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

namespace {

class FocusInFilter : public QObject {
 public:
  FocusInFilter(QObject* parent, std::function<void()> onFocus)
      : QObject(parent), onFocus_(std::move(onFocus)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) QTimer::singleShot(0, watched, onFocus_);
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onFocus_;
};

}  // namespace

void whenFocused(QWidget* widget, std::function<void()> onFocus) {
  widget->installEventFilter(new FocusInFilter(widget, std::move(onFocus)));
}

FormDialog::FormDialog(QtUi& ui, std::u16string_view caption, QWidget* parent)
    : QDialog(parent), bind_(&ui) {
  setWindowTitle(toQString(caption));
  setModal(true);
}

QDialogButtonBox* FormDialog::okCancelButtons(const char* controlName,
                                              const std::array<CaptionControl, 2>& controls,
                                              const std::function<void(int)>& click) {
  auto* buttons = new QDialogButtonBox(this);
  for (int index : {0, 1}) {
    auto* button = makeAt<QPushButton>(this, controlName, index);
    bind_.clicked(button, controls[static_cast<std::size_t>(index)],
                  [click, index] { click(index); });
    buttons->addButton(button,
                       index == 0 ? QDialogButtonBox::AcceptRole : QDialogButtonBox::RejectRole);
    button->setDefault(index == 0);
  }
  onCancel = [click] { click(1); };
  return buttons;
}

void FormDialog::reject() {
  if (onCancel) {
    bind_.handle(onCancel);
  } else {
    QDialog::reject();
  }
}

}  // namespace yentax
