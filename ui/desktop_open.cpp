#include "ui/desktop_open.h"

#include <filesystem>
#include <system_error>

#include "base/utf8.h"

namespace yentax {

namespace {

constexpr std::u16string_view kCannotOpen = u"フォルダを開けませんでした。";

std::filesystem::file_status statusOf(std::u16string_view path) {
  std::error_code error;
  return std::filesystem::status(std::filesystem::path(utf16ToUtf8(path)), error);
}

}  // namespace

bool isDesktopPath(std::u16string_view path) {
  if (!path.starts_with(u'/')) return false;
  const auto status = statusOf(path);
  return std::filesystem::is_regular_file(status) || std::filesystem::is_directory(status);
}

bool openFolderOnDesktop(UiHost& ui, std::u16string_view folder, std::u16string_view notFound) {
  if (!isDesktopPath(folder) || !std::filesystem::is_directory(statusOf(folder))) {
    ui.showMessage(notFound);
    return false;
  }
  if (!ui.openWithDesktop(folder)) {
    ui.showMessage(kCannotOpen, MessageIcon::Warning);
    return false;
  }
  return true;
}

}  // namespace yentax
