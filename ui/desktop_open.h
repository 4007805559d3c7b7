#pragma once

// What may go to the desktop's handler, and opening a folder there with a message when it
// cannot be. Settings files can hold any text: only an existing file or folder named from
// the root is handed on, as a path, never as a command line; a relative path would mean
// whatever the program's working folder makes of it.
//
//   openFolderOnDesktop(ui, settings.LogPath, u"指定フォルダが見つかりません。");

#include <string_view>

#include "ui/ui_host.h"

namespace yentax {

// An existing file or folder named from the root.
bool isDesktopPath(std::u16string_view path);

// Hands an existing folder named from the root to the desktop's handler. Otherwise, or when
// the handler cannot be started, says so (notFound for a folder that is not there) and
// gives false.
bool openFolderOnDesktop(UiHost& ui, std::u16string_view folder, std::u16string_view notFound);

}  // namespace yentax
