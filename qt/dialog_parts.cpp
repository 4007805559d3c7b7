#include "qt/dialog_parts.h"

#include <QColor>
#include <QTimer>

namespace yentax {

QColor colorFromValue(std::uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

void SelectingLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // A mouse click places the cursor after the focus arrives; select once it has.
  QTimer::singleShot(0, this, &QLineEdit::selectAll);
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
