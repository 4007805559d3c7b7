#include "qt/dialog_parts.h"

#include <QColor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace yentax {

namespace {

std::vector<std::u16string> droppedPaths(const QMimeData* data) {
  std::vector<std::u16string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const auto& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(fromQString(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

QColor colorFromValue(std::uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

DropLineEdit::DropLineEdit(QWidget* parent) : QLineEdit(parent) { setAcceptDrops(true); }

void DropLineEdit::dragEnterEvent(QDragEnterEvent* event) {
  if (droppedPaths(event->mimeData()).empty()) {
    QLineEdit::dragEnterEvent(event);
  } else {
    event->acceptProposedAction();
  }
}

void DropLineEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (droppedPaths(event->mimeData()).empty()) {
    QLineEdit::dragMoveEvent(event);
  } else {
    event->acceptProposedAction();
  }
}

void DropLineEdit::dropEvent(QDropEvent* event) {
  const auto paths = droppedPaths(event->mimeData());
  if (paths.empty() || !onDrop) {
    QLineEdit::dropEvent(event);
    return;
  }
  event->acceptProposedAction();
  onDrop(paths);
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
