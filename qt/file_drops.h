#pragma once

// File drops: lets a widget take files and folders dragged from the desktop's file
// manager and hands their local paths to a form's drop handler. Anything else dragged
// (text, a web link) is refused, so the widget keeps its own behaviour for it.
//
//   acceptFileDrops(txtFile, [&](const auto& paths) {
//     bind.handle([&] { form.Txt_File_OLEDragDrop(paths); });
//   });

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QMimeData;

namespace yentax {

using FileDropHandler = std::function<void(const std::vector<std::u16string>& paths)>;

// The local paths a drag carries, in the order dragged; empty when it carries none.
std::vector<std::u16string> droppedLocalPaths(const QMimeData& data);

// Takes the widget's drag and drop events; a drop of local files runs onDrop.
void acceptFileDrops(QWidget* widget, FileDropHandler onDrop);

}  // namespace yentax
