#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What a file dialog is asked to show. Paths are the texts the forms hold.
struct FileDialogRequest {
  std::u16string title;
  std::u16string fileName;          // initial file name or full path; may be empty
  std::u16string initialFolder;     // used when fileName names no folder
  std::u16string filter;            // "caption|pattern|caption|pattern..."
  std::u16string defaultExtension;  // without the dot; added to a name that has none
  int filterIndex = 1;              // 1-based, the filter selected at first
  bool fileMustExist = false;       // open dialogs that refuse a missing file
  bool confirmOverwrite = false;    // save dialogs that ask before replacing a file
};

// One of the preview's browser controls. Navigation targets are local files.
class BrowserView {
 public:
  // Sees every navigation before it happens, with the target URL as the browser spells
  // it; returning false cancels the navigation.
  using BeforeNavigate = std::function<bool(const std::u16string& url)>;

  virtual ~BrowserView() = default;

  // anchor "" navigates to the file alone, otherwise to file#anchor.
  virtual void navigate(std::u16string_view path, std::u16string_view anchor) = 0;
  // Shows the current document again, keeping the scroll position.
  virtual void reload() = 0;
  virtual bool busy() const = 0;
  // The URL of the shown document, "" before the first navigation.
  virtual std::u16string locationUrl() const = 0;
  virtual void setVisible(bool visible) = 0;
  virtual void bringToFront() = 0;
  virtual void setBeforeNavigate(BeforeNavigate handler) = 0;
};

// Everything the forms need from the desktop. A form never talks to a toolkit; it asks
// this port, so that every form rule runs without a display.
class UiHost {
 public:
  virtual ~UiHost() = default;

  // A modal message box captioned with the program's title.
  virtual MessageAnswer messageBox(std::u16string_view text, MessageButtons buttons,
                                   MessageIcon icon) = 0;

  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::u16string> openFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::u16string> saveFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::u16string> browseForFolder(std::u16string_view title,
                                                        std::u16string_view startFolder) = 0;
  // Colours are 0x00BBGGRR, the form the settings use.
  virtual std::optional<std::uint32_t> chooseColor(std::u16string_view title,
                                                   std::uint32_t initialColor) = 0;

  // Font family names in the order the system reports them.
  virtual std::vector<std::u16string> installedFontNames() = 0;

  // Opens a folder or document with the desktop's default handler; false when that
  // could not be started.
  virtual bool openWithDesktop(std::u16string_view path) = 0;

  // Lets the display handle what is waiting (clicks, repaints); long runs call this
  // between steps so that a cancel click is seen.
  virtual void processPendingEvents() = 0;

  // The preview's two browser controls: index 1 is the second, any other the first.
  virtual BrowserView& browserView(int index) = 0;

  // Restores the main window when minimised and makes it the active window.
  virtual void bringMainWindowToFront() = 0;

  void showMessage(std::u16string_view text, MessageIcon icon = MessageIcon::Information) {
    messageBox(text, MessageButtons::Ok, icon);
  }
  bool askYesNo(std::u16string_view text, MessageIcon icon = MessageIcon::Question) {
    return messageBox(text, MessageButtons::YesNo, icon) == MessageAnswer::Yes;
  }
  MessageAnswer askYesNoCancel(std::u16string_view text, MessageIcon icon = MessageIcon::Question) {
    return messageBox(text, MessageButtons::YesNoCancel, icon);
  }
};

}  // namespace yentax
