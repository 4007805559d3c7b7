#pragma once

// UiHost: the desktop as the forms see it. Message boxes, file, folder and colour
// dialogs, the installed fonts, the desktop's handler for a path, and the event pump of
// long runs. A form holds a UiHost& and never calls a toolkit, so that every rule of a
// form runs and is tested without a display.
//
//   if (ui.askYesNo(u"上書きしますか？")) replace();
//   if (auto folder = ui.browseForFolder(u"フォルダを選択して下さい。", current)) use(*folder);

#include <cstdint>
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

  // Lets every open view refresh from its model, then lets the display handle what is
  // waiting (clicks, repaints). Long runs call this between steps, while their handler is
  // still running, so that the window shows their progress and a cancel click is seen.
  virtual void processPendingEvents() = 0;

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

// The answer of a box closed without a button (Esc, the close box): the one that changes
// nothing. Cancel where there is one, else No, else OK.
MessageAnswer answerWhenClosed(MessageButtons buttons);

// A fixed message with the reason the system gave, on a line of its own; the message
// alone when there is none.
std::u16string messageWithCause(std::u16string_view message, std::string_view cause);

}  // namespace yentax
