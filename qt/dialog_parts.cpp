#include "qt/dialog_parts.h"

#include <QColor>
#include <QEvent>
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

void FormDialog::reject() {
  if (onCancel) {
    bind_.handle(onCancel);
  } else {
    QDialog::reject();
  }
}

}  // namespace yentax
