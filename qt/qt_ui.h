#pragma once

// QtUi: the UiHost on Qt Widgets. Message boxes captioned with the program's title and
// answered with Japanese button texts, Qt's file, folder and colour dialogs, the font
// families of QFontDatabase, the desktop's handler through QDesktopServices, and the event
// pump of long runs, which first lets every open view refresh from its model.
//
//   QApplication app(argc, argv);
//   installJapaneseTranslation(app);
//   QtUi ui;
//   ui.setMainWindow(&window);
//   if (ui.askYesNo(u"上書きしますか？")) ...

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/ui_host.h"

class QApplication;
class QMessageBox;
class QWidget;

namespace yentax {

// Loads Qt's own Japanese texts (standard buttons, dialogs) into the application; false
// when the translation is not installed.
bool installJapaneseTranslation(QApplication& app);

QString toQString(std::u16string_view text);
std::u16string fromQString(const QString& text);

// A view that can copy its model's state to its widgets.
class RefreshableView {
 public:
  virtual ~RefreshableView() = default;
  virtual void refreshFromModel() = 0;
};

// "caption|pattern|caption|pattern" as Qt's name filters: "caption (pattern)" with the
// Windows ";" between patterns turned into Qt's blank.
QStringList qtNameFilters(std::u16string_view filter);

class QtUi : public UiHost {
 public:
  // Opens a path with the desktop's handler; QDesktopServices unless a test replaces it.
  using Launcher = std::function<bool(const QString& path)>;

  explicit QtUi(std::u16string title);

  MessageAnswer messageBox(std::u16string_view text, MessageButtons buttons,
                           MessageIcon icon) override;
  std::optional<std::u16string> openFileDialog(const FileDialogRequest& request) override;
  std::optional<std::u16string> saveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::u16string> browseForFolder(std::u16string_view title,
                                                std::u16string_view startFolder) override;
  std::optional<std::uint32_t> chooseColor(std::u16string_view title,
                                           std::uint32_t initialColor) override;
  std::vector<std::u16string> installedFontNames() override;
  bool openWithDesktop(std::u16string_view path) override;
  void processPendingEvents() override;
  void bringMainWindowToFront() override;

  // The box messageBox shows, for tests and screenshots to look at.
  std::unique_ptr<QMessageBox> makeMessageBox(std::u16string_view text, MessageButtons buttons,
                                              MessageIcon icon) const;

  void setMainWindow(QWidget* window) { mainWindow_ = window; }
  void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
  const std::u16string& title() const { return title_; }

  // Open views register themselves so that processPendingEvents refreshes them.
  void addView(RefreshableView* view);
  void removeView(RefreshableView* view);

 private:
  QWidget* dialogParent() const;

  std::u16string title_;
  QWidget* mainWindow_ = nullptr;
  Launcher launcher_;
  std::vector<RefreshableView*> views_;
};

}  // namespace yentax
