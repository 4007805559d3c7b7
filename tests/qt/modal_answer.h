#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace yentax {

// Acts on the next modal dialog as soon as it is shown, from inside its event loop, the
// way a user would: the action gets the dialog and clicks or types into it.
inline void whenModalShows(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
    if (auto* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start(10);
}

// Clicks the button of the next modal dialog whose text is caption.
inline void clickInNextModal(const QString& caption) {
  whenModalShows([caption](QWidget* modal) {
    for (auto* button : modal->findChildren<QAbstractButton*>()) {
      if (button->text() == caption) {
        button->click();
        return;
      }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
}

}  // namespace yentax
