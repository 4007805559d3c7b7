#pragma once

// MainWindowView: the main window Sfrm_Main on Qt Widgets. The two tabs "ファイル" and
// "フォルダ" with their pickers, labels and the file tree, the message label with the
// progress of a folder run, the preview and convert buttons, and the menus. Every widget
// is named after its control and bound to it; the form model decides everything, the
// view copies its state in after every event and at every event pump of a run.
//
//   form.Form_Load();
//   MainWindowView view(form, ui);
//   ui.setMainWindow(&view);
//   view.show();  // the first show builds the file list (Form_Activate)
//
// Closing the window runs Form_Unload; a run in progress is asked to stop first and the
// window closes when it has.

#include <QMainWindow>

#include "app/main_window.h"
#include "qt/bindings.h"
#include "qt/qt_ui.h"

namespace yentax {

class MainWindowView : public QMainWindow {
  Q_OBJECT

 public:
  MainWindowView(Sfrm_Main& form, QtUi& ui, QWidget* parent = nullptr);

  ViewBindings& bindings() { return bind_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildFileTab();
  QWidget* buildFolderTab();
  QWidget* buildStatusRow();
  void buildMenus();
  void addMenu(MenuItem& top, const char* name, std::map<int, MenuItem>& entries,
               std::function<void(int)> onClick);
  void activate();

  Sfrm_Main& form_;
  ViewBindings bind_;
  bool closeQueued_ = false;
};

}  // namespace yentax
