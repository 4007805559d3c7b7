#pragma once

// StoppingUi: the UiHost of a program that may be told to stop while its windows are open
// (a stop signal reached the desktop program). Until then it passes everything on to the
// UiHost it wraps. From then on nothing is shown and nothing is chosen: every question
// gets No (to Yes/No/Cancel too, so that a window with unsaved work closes without saving
// instead of staying open), a message is taken as read, every chooser gives nothing and
// the desktop opens nothing. A question whose box was open when the stop came, and which
// was closed for it, is answered the same way.
//
//   StoppingUi ui(qtUi);
//   Application application(location, line, ui, forms, ports);
//   ...  // a stop signal:
//   ui.stop();  // then the windows are closed as the user would close them

#include "ui/ui_host.h"

namespace yentax {

class StoppingUi : public UiHost {
 public:
  explicit StoppingUi(UiHost& inner) : inner_(inner) {}

  void stop() { stopped_ = true; }
  bool stopped() const { return stopped_; }

  MessageAnswer messageBox(std::u16string_view text, MessageButtons buttons,
                           MessageIcon icon) override;
  std::optional<std::u16string> openFileDialog(const FileDialogRequest& request) override;
  std::optional<std::u16string> saveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::u16string> browseForFolder(std::u16string_view title,
                                                std::u16string_view startFolder) override;
  std::optional<std::uint32_t> chooseColor(std::u16string_view title,
                                           std::uint32_t initialColor) override;
  std::vector<std::u16string> installedFontNames() override { return inner_.installedFontNames(); }
  bool openWithDesktop(std::u16string_view path) override;
  void processPendingEvents() override { inner_.processPendingEvents(); }
  void bringMainWindowToFront() override { inner_.bringMainWindowToFront(); }

 private:
  // What a chooser gives: the inner one's choice, unless the program stopped meanwhile.
  template <typename Choice>
  Choice unlessStopped(Choice choice) const {
    return stopped_ ? Choice() : choice;
  }

  UiHost& inner_;
  bool stopped_ = false;
};

}  // namespace yentax
