#pragma once

// The screenshot program: every window of the desktop program rendered offscreen into
// PNG files, so that a change to a view can be looked at without a display. Each file in
// this folder registers the pictures of one window:
//
//   static const bool registered = registerShots("about", [](ShotContext& shot) {
//     AboutView view(...);
//     shot.save(view, "about");
//   });

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "qt/qt_ui.h"

namespace yentax {

class ShotContext {
 public:
  ShotContext(QString outputFolder, std::string scratchFolder, QtUi& ui)
      : outputFolder_(std::move(outputFolder)), scratch_(std::move(scratchFolder)), ui_(ui) {}

  // A private folder for the pages and settings a picture needs; removed afterwards.
  const std::string& scratch() const { return scratch_; }
  QtUi& ui() { return ui_; }
  // Lays the widget out at its natural size (or the given one), shows it offscreen and
  // writes <name>.png; false when it could not be written.
  bool save(QWidget& widget, const QString& name, QSize size = {});
  int failures() const { return failures_; }

 private:
  QString outputFolder_;
  std::string scratch_;
  QtUi& ui_;
  int failures_ = 0;
};

using ShotFunction = std::function<void(ShotContext&)>;

bool registerShots(const char* group, ShotFunction shoot);

}  // namespace yentax
