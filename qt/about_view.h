#pragma once

// AboutView: the version box SFrm_About as a small modal dialog: the program's title,
// its version and legal notice, OK and the system-information button. QtFormHost shows
// it for the help menu's "バージョン情報".
//
//   SFrm_About about(ui);
//   AboutView view(about, ui, mainWindow);
//   view.exec();  // returns when the form says Closed

#include <QDialog>

#include "app/about_box.h"
#include "qt/bindings.h"
#include "qt/qt_ui.h"

namespace yentax {

class AboutView : public QDialog {
  Q_OBJECT

 public:
  AboutView(SFrm_About& form, QtUi& ui, QWidget* parent = nullptr);

 private:
  SFrm_About& form_;
  ViewBindings bind_;
};

}  // namespace yentax
