#include "qt/main_window_view.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/version_info.h"
#include "qt/file_drops.h"
#include "qt/file_tree_view.h"

namespace yentax {

namespace {

// A label that shows a path the user chose, framed like a read-only box.
QLabel* pathLabel(QWidget* parent, const char* name) {
  auto* label = make<QLabel>(parent, name);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(280);
  label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  return label;
}

}  // namespace

MainWindowView::MainWindowView(Sfrm_Main& form, QtUi& ui, QWidget* parent)
    : QMainWindow(parent), form_(form), bind_(&ui) {
  setObjectName("Sfrm_Main");
  setWindowTitle(toQString(kProgramTitle));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  auto* tabs = make<QTabWidget>(central, "Tab1");
  tabs->addTab(buildFileTab(), QString());
  tabs->addTab(buildFolderTab(), QString());
  bind_.tabs(tabs, form_.Tab1, [this] { form_.Tab1_Click(); });
  layout->addWidget(tabs, 1);
  layout->addWidget(buildStatusRow());
  setCentralWidget(central);
  buildMenus();

  acceptFileDrops(this, [this](const std::vector<std::u16string>& paths) {
    bind_.handle([&] { form_.Form_OLEDragDrop(paths); });
  });
  bind_.custom([this, central] {
    central->setEnabled(form_.Enabled);
    // A unload from a handler (the exit menu, the end of a stopped run) closes the
    // window once that handler has returned.
    if (form_.Unloaded && !closeQueued_) {
      closeQueued_ = true;
      QTimer::singleShot(0, this, &QWidget::close);
    }
  });
  resize(560, 460);
  bind_.refreshFromModel();
}

QWidget* MainWindowView::buildFileTab() {
  auto* page = make<QWidget>(this, "Fram_Options_1");
  auto* grid = new QGridLayout(page);
  // Made in reading order, which is the order Tab follows.
  auto* pick = make<QPushButton>(page, "Cmd_Folder");
  auto* file = make<QLineEdit>(page, "Txt_File");
  auto* destination = make<QPushButton>(page, "Cmd_DestFolder");
  auto* open = make<QPushButton>(page, "Command1");
  auto* destinationLabel = pathLabel(page, "Lbl_DestFolder");
  grid->addWidget(pick, 0, 0);
  grid->addWidget(file, 0, 1);
  grid->addWidget(destination, 1, 0);
  grid->addWidget(destinationLabel, 1, 1);
  grid->addWidget(open, 2, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);

  auto& f = form_;
  bind_.custom([page, &f] { page->setEnabled(f.Fram_Options[Sfrm_Main::kFileFrame].Enabled); });
  bind_.text(file, f.Txt_File);
  bind_.accessibleName(file, f.Cmd_Folder);
  bind_.clicked(pick, f.Cmd_Folder, [&f] { f.Cmd_Folder_Click(); });
  bind_.clicked(destination, f.Cmd_DestFolder, [&f] { f.Cmd_DestFolder_Click(); });
  bind_.label(destinationLabel, f.Lbl_DestFolder);
  bind_.clicked(open, f.Command1, [&f] { f.Command1_Click(); });
  acceptFileDrops(file, [this](const std::vector<std::u16string>& paths) {
    bind_.handle([&] { form_.Txt_File_OLEDragDrop(paths); });
  });
  acceptFileDrops(destination, [this](const std::vector<std::u16string>& paths) {
    bind_.handle([&] { form_.Cmd_DestFolder_OLEDragDrop(paths); });
  });
  return page;
}

QWidget* MainWindowView::buildFolderTab() {
  auto* page = make<QWidget>(this, "Fram_Options_0");
  auto* grid = new QGridLayout(page);
  auto* source = make<QPushButton>(page, "Cmd_ReadFolder");
  auto* treeLabel = make<QLabel>(page, "Lbl_Files");
  auto* tree = make<QTreeWidget>(page, "Trv_Files");
  auto* renew = make<QPushButton>(page, "Cmd_FilesRenew");
  auto* destination = make<QPushButton>(page, "Cmd_DestFolder1");
  auto* open = make<QPushButton>(page, "Cmd_DestFoldeOpen");
  auto* sourceLabel = pathLabel(page, "Lbl_ReadFolder");
  auto* destinationLabel = pathLabel(page, "Lbl_DestFolder1");
  grid->addWidget(source, 0, 0);
  grid->addWidget(sourceLabel, 0, 1);
  grid->addWidget(treeLabel, 1, 0, 1, 2);
  grid->addWidget(tree, 2, 0, 1, 2);
  grid->addWidget(renew, 3, 1, Qt::AlignLeft);
  grid->addWidget(destination, 4, 0);
  grid->addWidget(destinationLabel, 4, 1);
  grid->addWidget(open, 5, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  treeLabel->setBuddy(tree);
  // The label names the tree and carries its accelerator, so it is not plain text.
  treeLabel->setText(toQString(form_.Trv_Files.Caption));

  auto& f = form_;
  bind_.custom([page, &f] { page->setEnabled(f.Fram_Options[Sfrm_Main::kFolderFrame].Enabled); });
  bind_.clicked(source, f.Cmd_ReadFolder, [&f] { f.Cmd_ReadFolder_Click(); });
  bind_.label(sourceLabel, f.Lbl_ReadFolder);
  bind_.accessibleName(tree, f.Trv_Files);
  bindFileTree(bind_, tree, f.Trv_Files, [&f](std::size_t node) { f.Trv_Files_NodeCheck(node); });
  bind_.clicked(renew, f.Cmd_FilesRenew, [&f] { f.Cmd_FilesRenew_Click(); });
  bind_.clicked(destination, f.Cmd_DestFolder1, [&f] { f.Cmd_DestFolder1_Click(); });
  bind_.label(destinationLabel, f.Lbl_DestFolder1);
  bind_.clicked(open, f.Cmd_DestFoldeOpen, [&f] { f.Cmd_DestFoldeOpen_Click(); });
  acceptFileDrops(source, [this](const std::vector<std::u16string>& paths) {
    bind_.handle([&] { form_.Cmd_ReadFolder_OLEDragDrop(paths); });
  });
  acceptFileDrops(destination, [this](const std::vector<std::u16string>& paths) {
    bind_.handle([&] { form_.Cmd_DestFolder1_OLEDragDrop(paths); });
  });
  return page;
}

QWidget* MainWindowView::buildStatusRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* message = make<QLabel>(row, "Lbl_Msg");
  auto* progress = make<QProgressBar>(row, "Prg_Files");
  auto* preview = make<QPushButton>(row, "Cmd_Disp");
  auto* convert = make<QPushButton>(row, "Cmd_Change");
  message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progress->setFormat("%v / %m");
  progress->setMinimumWidth(120);
  progress->setMaximumWidth(180);
  layout->addWidget(message, 1);
  layout->addWidget(progress);
  layout->addWidget(preview);
  layout->addWidget(convert);
  convert->setDefault(true);

  auto& f = form_;
  bind_.label(message, f.Lbl_Msg);
  bind_.custom([progress, &f] {
    const auto& bar = f.Prg_Files;
    if (progress->isHidden() == bar.Visible) progress->setVisible(bar.Visible);
    progress->setRange(0, bar.Max);
    progress->setValue(bar.Value);
  });
  bind_.clicked(preview, f.Cmd_Disp, [&f] { f.Cmd_Disp_Click(); });
  bind_.clicked(convert, f.Cmd_Change, [&f] { f.Cmd_Change_Click(); });
  return row;
}

void MainWindowView::addMenu(MenuItem& top, const char* name, std::map<int, MenuItem>& entries,
                             std::function<void(int)> onClick) {
  auto* menu = menuBar()->addMenu(QString());
  menu->setObjectName(name);
  bind_.custom([menu, &top] {
    menu->setTitle(toQString(top.Caption));
    menu->menuAction()->setEnabled(top.Enabled);
  });
  for (auto& [index, entry] : entries) {
    if (entry.Caption == u"-") {
      menu->addSeparator();
      continue;
    }
    auto* action = menu->addAction(QString());
    action->setObjectName(QString("%1_Sub_%2").arg(name).arg(index));
    bind_.menu(action, entry, [onClick, index = index] { onClick(index); });
  }
}

void MainWindowView::buildMenus() {
  auto& f = form_;
  addMenu(f.MENU_File, "MENU_File", f.MENU_File_Sub, [&f](int i) { f.MENU_File_Sub_Click(i); });
  addMenu(f.Menu_Tool, "Menu_Tool", f.Menu_Tool_Sub, [&f](int i) { f.Menu_Tool_Sub_Click(i); });
  addMenu(f.Menu_Help, "Menu_Help", f.Menu_Help_Sub, [&f](int i) { f.Menu_Help_Sub_Click(i); });
}

void MainWindowView::activate() {
  if (!form_.Unloaded) bind_.handle([this] { form_.Form_Activate(); });
}

void MainWindowView::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Some platforms (offscreen) never report activation; the first show stands for it.
  if (!form_.state().FirstShowDone) activate();
}

void MainWindowView::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) activate();
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  closeQueued_ = true;  // this close needs no second one
  if (!form_.Unloaded) bind_.handle([this] { form_.Form_Unload(); });
  if (form_.Unloaded) {
    event->accept();
    return;
  }
  closeQueued_ = false;
  event->ignore();
}

}  // namespace yentax
