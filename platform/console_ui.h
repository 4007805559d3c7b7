#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/browser_view.h"
#include "ui/ui_host.h"

namespace yentax {

// A browser control without a display: a navigation "loads" at once and reports a
// file:// URL with the path percent-encoded as UTF-8.
class ConsoleBrowserView : public BrowserView {
 public:
  struct Navigation {
    std::u16string url;
    bool allowed = false;
  };

  void navigate(std::u16string_view path, std::u16string_view anchor) override;
  void reload() override {
    ++reloads_;
    edits_.clear();
  }
  bool busy() const override { return busy_; }
  std::u16string locationUrl() const override { return location_; }
  void setVisible(bool visible) override { visible_ = visible; }
  void setBeforeNavigate(BeforeNavigate handler) override { beforeNavigate_ = std::move(handler); }
  // Records the edit; refused while setRefusingEdits is on.
  bool editShownText(const ShownTextEdit& edit) override;
  std::u16string urlFor(std::u16string_view path, std::u16string_view anchor) const override;

  // A navigation the page itself starts, as a clicked link does; true when it was let through.
  bool followLink(const std::u16string& url);

  void setBusy(bool busy) { busy_ = busy; }
  // Loads that end without showing anything: the location stays where it was.
  void setFailing(bool failing) { failing_ = failing; }
  // Edits refused, as by a document that reads otherwise than the page text says.
  void setRefusingEdits(bool refusing) { refusingEdits_ = refusing; }
  const std::vector<Navigation>& navigations() const { return navigations_; }
  int reloads() const { return reloads_; }
  // The edits made to the document shown now (a load starts it afresh), refused ones
  // left out.
  const std::vector<ShownTextEdit>& edits() const { return edits_; }
  bool visible() const { return visible_; }

 private:
  std::vector<Navigation> navigations_;
  std::u16string location_;
  BeforeNavigate beforeNavigate_;
  bool busy_ = false;
  bool failing_ = false;
  bool refusingEdits_ = false;
  bool visible_ = true;
  int reloads_ = 0;
  std::vector<ShownTextEdit> edits_;
};

// The file URL a ConsoleBrowserView reports for a path and an optional anchor.
std::u16string consoleFileUrl(std::u16string_view path, std::u16string_view anchor);

// Starts the desktop's handler for a path (xdg-open) without waiting for it; false when
// the handler could not be started.
bool launchDesktopHandler(const std::string& path);

// Runs program with one argument (none when it is empty) in a detached process (so no
// child is left to reap); false when it could not be executed.
bool spawnDetached(const std::string& program, const std::string& argument);

// The UiHost of runs without a display, and of tests. Messages go to a stream (stderr by
// default) or nowhere; questions and dialogs take scripted answers first, then the
// configured default. Everything asked is recorded.
class ConsoleUi : public UiHost {
 public:
  enum class DialogKind { OpenFile, SaveFile, Folder, Color };

  struct MessageRecord {
    std::u16string caption;
    std::u16string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageAnswer answer = MessageAnswer::Ok;
  };

  struct DialogRecord {
    DialogKind kind = DialogKind::OpenFile;
    std::u16string title;
    FileDialogRequest file;  // file dialogs; the folder browser fills initialFolder only
    std::uint32_t initialColor = 0;
    bool chosen = false;  // false when the dialog was cancelled
  };

  struct Options {
    std::u16string title = u"yentax";
    // The answer to a question nobody scripted. No is the safe one: nothing is replaced
    // or stopped that a user did not agree to.
    MessageAnswer defaultAnswer = MessageAnswer::No;
    std::ostream* messageStream;  // nullptr suppresses the messages
    std::vector<std::u16string> fontNames;
    // Opens a UTF-8 path with the desktop's handler.
    std::function<bool(const std::string&)> launcher = launchDesktopHandler;

    Options();
  };

  ConsoleUi();
  explicit ConsoleUi(Options options);

  MessageAnswer messageBox(std::u16string_view text, MessageButtons buttons,
                           MessageIcon icon) override;
  std::optional<std::u16string> openFileDialog(const FileDialogRequest& request) override;
  std::optional<std::u16string> saveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::u16string> browseForFolder(std::u16string_view title,
                                                std::u16string_view startFolder) override;
  std::optional<std::uint32_t> chooseColor(std::u16string_view title,
                                           std::uint32_t initialColor) override;
  std::vector<std::u16string> installedFontNames() override { return options_.fontNames; }
  bool openWithDesktop(std::u16string_view path) override;
  void processPendingEvents() override;
  void bringMainWindowToFront() override { ++frontRequests_; }

  // Scripted answers, taken in order. OK-only boxes take none: they have one answer.
  void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  // A path for the next file or folder dialog; nothing means the user cancels.
  void queuePath(std::optional<std::u16string> path) { paths_.push_back(std::move(path)); }
  void queueColor(std::optional<std::uint32_t> color) { colors_.push_back(color); }
  // Runs at every processPendingEvents, standing in for the user's clicks meanwhile.
  void onPendingEvents(std::function<void()> handler) { pendingEvents_ = std::move(handler); }

  const std::vector<MessageRecord>& messages() const { return messages_; }
  const std::vector<DialogRecord>& dialogs() const { return dialogs_; }
  const std::vector<std::u16string>& openedPaths() const { return openedPaths_; }
  int pendingEventTurns() const { return eventTurns_; }
  int frontRequests() const { return frontRequests_; }

 private:
  std::optional<std::u16string> answerFileDialog(DialogKind kind, const FileDialogRequest& request);
  std::optional<std::u16string> nextPath();

  Options options_;
  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::u16string>> paths_;
  std::deque<std::optional<std::uint32_t>> colors_;
  std::function<void()> pendingEvents_;
  std::vector<MessageRecord> messages_;
  std::vector<DialogRecord> dialogs_;
  std::vector<std::u16string> openedPaths_;
  int eventTurns_ = 0;
  int frontRequests_ = 0;
};

// The answer a box with these buttons can give for the wanted one: an OK box only says
// OK, a Yes/No box turns anything but Yes into No, and a Yes/No/Cancel box turns OK into Yes.
MessageAnswer fitAnswer(MessageAnswer wanted, MessageButtons buttons);

}  // namespace yentax
