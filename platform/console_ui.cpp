#include "platform/console_ui.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "base/utf8.h"

namespace yentax {
namespace {

bool isUnreservedUrlByte(unsigned char b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
         b == '.' || b == '_' || b == '~' || b == '/';
}

std::u16string withDefaultExtension(std::u16string path, std::u16string_view extension) {
  if (extension.empty()) return path;
  const auto slash = path.find_last_of(u'/');
  const auto nameStart = slash == std::u16string::npos ? 0 : slash + 1;
  if (nameStart < path.size() && path.find(u'.', nameStart) == std::u16string::npos) {
    path += u'.';
    path += extension;
  }
  return path;
}

// Message texts break lines with CR LF; a terminal wants LF alone.
std::string displayText(std::u16string_view text) {
  std::u16string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    lines += text[i];
  }
  return utf16ToUtf8(lines);
}

const char* buttonsText(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
      return " [Yes/No] -> ";
    case MessageButtons::YesNoCancel:
      return " [Yes/No/Cancel] -> ";
    case MessageButtons::Ok:
      break;
  }
  return "";
}

const char* answerText(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Yes:
      return "Yes";
    case MessageAnswer::No:
      return "No";
    case MessageAnswer::Cancel:
      return "Cancel";
    case MessageAnswer::Ok:
      break;
  }
  return "OK";
}

}  // namespace

MessageAnswer fitAnswer(MessageAnswer wanted, MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return wanted == MessageAnswer::Yes || wanted == MessageAnswer::Ok ? MessageAnswer::Yes
                                                                         : MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      return wanted == MessageAnswer::Ok ? MessageAnswer::Yes : wanted;
  }
  return MessageAnswer::Ok;
}

std::u16string consoleFileUrl(std::u16string_view path, std::u16string_view anchor) {
  static const char hex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const unsigned char b : utf16ToUtf8(path)) {
    if (isUnreservedUrlByte(b)) {
      url += static_cast<char>(b);
    } else {
      url += '%';
      url += hex[b >> 4];
      url += hex[b & 0xF];
    }
  }
  std::u16string result = utf8ToUtf16(url);
  if (!anchor.empty()) {
    result += u'#';
    result += anchor;
  }
  return result;
}

void ConsoleBrowserView::navigate(std::u16string_view path, std::u16string_view anchor) {
  followLink(urlFor(path, anchor));
}

std::u16string ConsoleBrowserView::urlFor(std::u16string_view path,
                                          std::u16string_view anchor) const {
  return consoleFileUrl(path, anchor);
}

bool ConsoleBrowserView::editShownText(const ShownTextEdit& edit) {
  if (refusingEdits_) return false;
  edits_.push_back(edit);
  return true;
}

bool ConsoleBrowserView::followLink(const std::u16string& url) {
  const bool allowed = !beforeNavigate_ || beforeNavigate_(url);
  navigations_.push_back({url, allowed});
  if (allowed && !failing_) {
    location_ = url;
    edits_.clear();
  }
  return allowed;
}

bool spawnDetached(const std::string& program, const std::string& argument) {
  // The exec failure travels back through a pipe that a successful exec closes.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  std::string programCopy = program;
  std::string argumentCopy = argument;
  char* const argv[] = {programCopy.data(), argument.empty() ? nullptr : argumentCopy.data(),
                        nullptr};
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    close(report[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      execvp(argv[0], argv);
      const int error = errno;
      [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

bool launchDesktopHandler(const std::string& path) {
  if (path.empty()) return false;
  // A leading dash would be read as an option of xdg-open.
  return spawnDetached("xdg-open", path.front() == '-' ? "./" + path : path);
}

ConsoleUi::Options::Options() : messageStream(&std::cerr) {}

ConsoleUi::ConsoleUi() : ConsoleUi(Options()) {}

ConsoleUi::ConsoleUi(Options options) : options_(std::move(options)) {}

MessageAnswer ConsoleUi::messageBox(std::u16string_view text, MessageButtons buttons,
                                    MessageIcon icon) {
  MessageAnswer wanted = options_.defaultAnswer;
  if (buttons != MessageButtons::Ok && !answers_.empty()) {
    wanted = answers_.front();
    answers_.pop_front();
  }
  const MessageAnswer answer = fitAnswer(wanted, buttons);
  messages_.push_back({options_.title, std::u16string(text), buttons, icon, answer});
  if (options_.messageStream != nullptr) {
    *options_.messageStream << displayText(options_.title) << ": " << displayText(text);
    if (buttons != MessageButtons::Ok) {
      *options_.messageStream << buttonsText(buttons) << answerText(answer);
    }
    *options_.messageStream << '\n';
  }
  return answer;
}

std::optional<std::u16string> ConsoleUi::nextPath() {
  if (paths_.empty()) return std::nullopt;
  auto path = std::move(paths_.front());
  paths_.pop_front();
  return path;
}

std::optional<std::u16string> ConsoleUi::answerFileDialog(DialogKind kind,
                                                          const FileDialogRequest& request) {
  auto path = nextPath();
  if (path) *path = withDefaultExtension(std::move(*path), request.defaultExtension);
  dialogs_.push_back({kind, request.title, request, 0, path.has_value()});
  return path;
}

std::optional<std::u16string> ConsoleUi::openFileDialog(const FileDialogRequest& request) {
  return answerFileDialog(DialogKind::OpenFile, request);
}

std::optional<std::u16string> ConsoleUi::saveFileDialog(const FileDialogRequest& request) {
  return answerFileDialog(DialogKind::SaveFile, request);
}

std::optional<std::u16string> ConsoleUi::browseForFolder(std::u16string_view title,
                                                         std::u16string_view startFolder) {
  auto path = nextPath();
  FileDialogRequest request;
  request.title = title;
  request.initialFolder = startFolder;
  dialogs_.push_back({DialogKind::Folder, request.title, request, 0, path.has_value()});
  return path;
}

std::optional<std::uint32_t> ConsoleUi::chooseColor(std::u16string_view title,
                                                    std::uint32_t initialColor) {
  std::optional<std::uint32_t> color;
  if (!colors_.empty()) {
    color = colors_.front();
    colors_.pop_front();
  }
  dialogs_.push_back(
      {DialogKind::Color, std::u16string(title), {}, initialColor, color.has_value()});
  return color;
}

bool ConsoleUi::openWithDesktop(std::u16string_view path) {
  openedPaths_.emplace_back(path);
  if (path.empty() || !options_.launcher) return false;
  return options_.launcher(utf16ToUtf8(path));
}

void ConsoleUi::processPendingEvents() {
  ++eventTurns_;
  if (pendingEvents_) pendingEvents_();
}

}  // namespace yentax
