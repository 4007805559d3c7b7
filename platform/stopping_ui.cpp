#include "platform/stopping_ui.h"

namespace yentax {

MessageAnswer StoppingUi::messageBox(std::u16string_view text, MessageButtons buttons,
                                     MessageIcon icon) {
  if (!stopped_) {
    const auto answer = inner_.messageBox(text, buttons, icon);
    if (!stopped_) return answer;
  }
  return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

std::optional<std::u16string> StoppingUi::openFileDialog(const FileDialogRequest& request) {
  if (stopped_) return std::nullopt;
  return unlessStopped(inner_.openFileDialog(request));
}

std::optional<std::u16string> StoppingUi::saveFileDialog(const FileDialogRequest& request) {
  if (stopped_) return std::nullopt;
  return unlessStopped(inner_.saveFileDialog(request));
}

std::optional<std::u16string> StoppingUi::browseForFolder(std::u16string_view title,
                                                          std::u16string_view startFolder) {
  if (stopped_) return std::nullopt;
  return unlessStopped(inner_.browseForFolder(title, startFolder));
}

std::optional<std::uint32_t> StoppingUi::chooseColor(std::u16string_view title,
                                                     std::uint32_t initialColor) {
  if (stopped_) return std::nullopt;
  return unlessStopped(inner_.chooseColor(title, initialColor));
}

bool StoppingUi::openWithDesktop(std::u16string_view path) {
  return !stopped_ && inner_.openWithDesktop(path);
}

}  // namespace yentax
