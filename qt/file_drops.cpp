#include "qt/file_drops.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "qt/qt_ui.h"

namespace yentax {

namespace {

class FileDropFilter : public QObject {
 public:
  FileDropFilter(QObject* parent, FileDropHandler onDrop)
      : QObject(parent), onDrop_(std::move(onDrop)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (droppedLocalPaths(*drag->mimeData()).empty()) return false;
        drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const auto paths = droppedLocalPaths(*drop->mimeData());
        if (paths.empty()) return false;
        drop->acceptProposedAction();
        onDrop_(paths);
        return true;
      }
      default:
        return QObject::eventFilter(watched, event);
    }
  }

 private:
  FileDropHandler onDrop_;
};

}  // namespace

std::vector<std::u16string> droppedLocalPaths(const QMimeData& data) {
  std::vector<std::u16string> paths;
  for (const auto& url : data.urls()) {
    if (url.isLocalFile()) paths.push_back(fromQString(url.toLocalFile()));
  }
  return paths;
}

void acceptFileDrops(QWidget* widget, FileDropHandler onDrop) {
  widget->setAcceptDrops(true);
  widget->installEventFilter(new FileDropFilter(widget, std::move(onDrop)));
}

}  // namespace yentax
