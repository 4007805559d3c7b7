#include "qt/window_stop.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QDialog>
#include <csignal>

#include "platform/console_ui.h"
#include "tests/qt/modal_answer.h"

namespace yentax {
namespace {

// A dialog that refuses to close while its step runs and closes once the step has ended,
// as the preview does.
struct StepDialog : QDialog {
  using QDialog::QDialog;
  bool busy = false;
  void closeEvent(QCloseEvent* event) override {
    if (!busy) return QDialog::closeEvent(event);
    event->ignore();
    QTimer::singleShot(0, this, [this] {
      busy = false;
      reject();
    });
  }
};

TEST(WindowStopTest, AStopClosesTheOpenDialogThenTheMainWindow) {
  for (const bool busy : {false, true}) {
    SCOPED_TRACE(busy);
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
    ConsoleUi console;
    StoppingUi ui(console);
    QWidget main;
    main.show();
    std::optional<WindowStop> stop(std::in_place, ends[0], ui, main);
    StepDialog dialog(&main);
    dialog.busy = busy;
    whenModalShows([&](QWidget*) {
      const auto signal = static_cast<unsigned char>(SIGTERM);
      ASSERT_EQ(::write(ends[1], &signal, 1), 1);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ui.stopped());
    EXPECT_FALSE(main.isVisible());
    stop.reset();
    ::close(ends[0]);
    ::close(ends[1]);
  }
}

}  // namespace
}  // namespace yentax
