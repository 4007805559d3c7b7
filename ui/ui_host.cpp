#include "ui/ui_host.h"

#include "base/utf8.h"

namespace yentax {

MessageAnswer answerWhenClosed(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::Ok:
      break;
  }
  return MessageAnswer::Ok;
}

std::u16string messageWithCause(std::u16string_view message, std::string_view cause) {
  std::u16string text(message);
  if (!cause.empty()) text += u"\r\n(" + utf8ToUtf16(cause) + u")";
  return text;
}

}  // namespace yentax
