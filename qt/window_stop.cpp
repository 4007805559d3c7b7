#include "qt/window_stop.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include "app/stop_signals.h"

namespace yentax {

WindowStop::WindowStop(int descriptor, StoppingUi& ui, QWidget& mainWindow)
    : ui_(ui), mainWindow_(mainWindow) {
  auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this, descriptor] {
    if (takeStopSignal(descriptor) == 0 || ui_.stopped()) return;
    ui_.stop();
    qApp->installEventFilter(this);
    closeWindows();
  });
}

bool WindowStop::eventFilter(QObject* watched, QEvent* event) {
  // A window that closed once its step ended makes way for the one below it.
  if (event->type() == QEvent::Hide && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->isWindow()) {
    QMetaObject::invokeMethod(this, &WindowStop::closeWindows, Qt::QueuedConnection);
  }
  return false;
}

void WindowStop::closeWindows() {
  if (!mainWindow_.isVisible()) return;
  // A dialog's own loop ends once this handler has returned; a dialog that is busy
  // refuses and closes when its step has ended.
  for (QWidget* shown = nullptr; QWidget* modal = QApplication::activeModalWidget();) {
    if (modal == shown || !modal->close()) return;
    shown = modal;
  }
  mainWindow_.close();
}

}  // namespace yentax
