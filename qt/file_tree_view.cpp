#include "qt/file_tree_view.h"

#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace yentax {

namespace {

constexpr int kNodeRole = Qt::UserRole;

// A small page with a coloured band and the first letter of its kind.
QIcon drawPageIcon(const QColor& band, QChar letter) {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setPen(QColor(96, 96, 96));
  painter.setBrush(Qt::white);
  painter.drawRect(2, 0, 11, 15);
  painter.fillRect(3, 1, 10, 5, band);
  QFont font = painter.font();
  font.setPixelSize(8);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(2, 6, 12, 10), Qt::AlignCenter, QString(letter));
  return QIcon(picture);
}

bool sameNodes(const QTreeWidget& tree, const FileTree& model) {
  std::size_t count = 0;
  for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it) {
    if (count >= model.Nodes.size() || (*it)->text(0) != toQString(model.Nodes[count].Text) ||
        nodeIndexOf(**it) != count) {
      return false;
    }
    ++count;
  }
  return count == model.Nodes.size();
}

void rebuild(QTreeWidget& tree, const FileTree& model) {
  tree.clear();
  std::vector<QTreeWidgetItem*> items;
  for (std::size_t i = 0; i < model.Nodes.size(); ++i) {
    const auto& node = model.Nodes[i];
    auto* item = node.Parent && *node.Parent < items.size()
                     ? new QTreeWidgetItem(items[*node.Parent])
                     : new QTreeWidgetItem(&tree);
    item->setText(0, toQString(node.Text));
    item->setData(0, kNodeRole, static_cast<qulonglong>(i));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    if (!node.Image.empty()) item->setIcon(0, fileTreeIcon(node.Image));
    // Without a state of its own an item shows no check box at all.
    item->setCheckState(0, Qt::Unchecked);
    items.push_back(item);
  }
  tree.expandAll();
}

void showNodes(QTreeWidget& tree, const FileTree& model) {
  if (!sameNodes(tree, model)) rebuild(tree, model);
  for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
    const auto& node = model.Nodes[nodeIndexOf(**it)];
    const auto state = node.Checked ? Qt::Checked : Qt::Unchecked;
    if ((*it)->checkState(0) != state) (*it)->setCheckState(0, state);
  }
  auto* selected = model.SelectedItem ? itemOfNode(tree, *model.SelectedItem) : nullptr;
  if (tree.currentItem() != selected) tree.setCurrentItem(selected);
}

}  // namespace

QIcon fileTreeIcon(std::u16string_view imageKey) {
  static const QIcon page = drawPageIcon(QColor(40, 110, 200), u'H');
  static const QIcon text = drawPageIcon(QColor(150, 150, 150), u'T');
  return imageKey == u"HTM" ? page : text;
}

std::size_t nodeIndexOf(const QTreeWidgetItem& item) {
  return static_cast<std::size_t>(item.data(0, kNodeRole).toULongLong());
}

QTreeWidgetItem* itemOfNode(QTreeWidget& tree, std::size_t node) {
  for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
    if (nodeIndexOf(**it) == node) return *it;
  }
  return nullptr;
}

void bindFileTree(ViewBindings& bind, QTreeWidget* tree, FileTree& model,
                  std::function<void(std::size_t node)> onCheck) {
  tree->setHeaderHidden(true);
  tree->setRootIsDecorated(true);
  bind.custom(
      [tree, &model] {
        const QSignalBlocker blocker(tree);
        if (tree->isEnabled() != model.Enabled) tree->setEnabled(model.Enabled);
        if (tree->isHidden() == model.Visible) tree->setVisible(model.Visible);
        showNodes(*tree, model);
      },
      [tree, &model] {
        const auto* current = tree->currentItem();
        model.SelectedItem = current ? std::optional(nodeIndexOf(*current)) : std::nullopt;
      });
  QObject::connect(tree, &QTreeWidget::itemChanged, tree,
                   [&bind, &model, onCheck = std::move(onCheck)](QTreeWidgetItem* item, int) {
                     const auto node = nodeIndexOf(*item);
                     if (node >= model.Nodes.size()) return;
                     const bool checked = item->checkState(0) == Qt::Checked;
                     if (model.Nodes[node].Checked == checked) return;
                     bind.handle([&] {
                       model.Nodes[node].Checked = checked;
                       onCheck(node);
                     });
                   });
}

}  // namespace yentax
