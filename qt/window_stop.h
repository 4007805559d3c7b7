#pragma once

// WindowStop: ends the desktop program on SIGINT, SIGTERM or SIGHUP the way closing its
// windows does, so that the working folders go as at any close. The signal handler only
// writes to a pipe; the notifier on its other end runs here, in the event loop: the UI
// stops asking (StoppingUi), the open dialogs are closed from the top down, then the main
// window. A window that cannot close yet (a run until its current file is done, a
// preview until its step ends) closes by itself then, and the next one is tried. The
// caller ends the program by the signal once the event loop has returned.
//
//   WindowStop stop(catchStopSignalsForEventLoop(), stoppingUi, mainWindow);
//   const int status = QApplication::exec();
//   ...
//   endByCaughtSignal();

#include <QObject>

#include "platform/stopping_ui.h"

class QWidget;

namespace yentax {

class WindowStop : public QObject {
 public:
  WindowStop(int descriptor, StoppingUi& ui, QWidget& mainWindow);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void closeWindows();

  StoppingUi& ui_;
  QWidget& mainWindow_;
};

}  // namespace yentax
