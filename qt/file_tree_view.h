#pragma once

// The file tree of the folder tab on a QTreeWidget: one item per FileTree node, with its
// check box, its "HTM" or "TXT" picture and the node's text. The model decides every
// check mark; the widget only reports which node the user ticked or unticked and which
// one is highlighted.
//
//   auto* tree = make<QTreeWidget>(page, "Trv_Files");
//   bindFileTree(bind, tree, form.Trv_Files, [&](std::size_t node) {
//     form.Trv_Files_NodeCheck(node);
//   });

#include <QIcon>
#include <QTreeWidget>
#include <cstddef>
#include <functional>

#include "app/file_tree.h"
#include "qt/bindings.h"

namespace yentax {

// The picture of a node's Image key: "HTM" for pages, "TXT" for other files.
QIcon fileTreeIcon(std::u16string_view imageKey);

// The node an item stands for.
std::size_t nodeIndexOf(const QTreeWidgetItem& item);

// The item of a node, or nullptr.
QTreeWidgetItem* itemOfNode(QTreeWidget& tree, std::size_t node);

// Binds the tree to the model: the nodes are copied in at every refresh, the highlighted
// item goes back as SelectedItem, and a click on a check box sets the node's Checked and
// runs onCheck(node) through the bindings.
void bindFileTree(ViewBindings& bind, QTreeWidget* tree, FileTree& model,
                  std::function<void(std::size_t node)> onCheck);

}  // namespace yentax
