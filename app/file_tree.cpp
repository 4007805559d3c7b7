#include "app/file_tree.h"

#include <unordered_set>

#include "base/utf16_text.h"
#include "docio/path_text.h"

namespace yentax {

bool isPageExtension(std::u16string_view extension) {
  const auto upper = toUpperAscii(extension);
  return upper == u"HTM" || upper == u"HTML";
}

void FileTree::fill(std::u16string_view folder, const std::vector<std::u16string>& fileNames) {
  clear();
  Nodes.push_back({std::u16string(kRootKey), std::u16string(kRootText), u"", u"", false, {}});
  for (const auto& name : fileNames) {
    const auto ext = extension(name);
    // File names are unique within a folder, and no file key can look like the root's.
    Nodes.push_back({u"F:" + name, name, isPageExtension(ext) ? u"HTM" : u"TXT",
                     joinPath(folder, name) + u"|" + ext, false, std::size_t{0}});
  }
}

void FileTree::clear() {
  Nodes.clear();
  SelectedItem.reset();
}

void FileTree::nodeCheck(std::size_t index) {
  if (index >= Nodes.size()) return;
  const bool checked = Nodes[index].Checked;
  // Children always come after their parent, so one forward sweep reaches every depth.
  std::vector<bool> below(Nodes.size(), false);
  below[index] = true;
  for (std::size_t i = index + 1; i < Nodes.size(); ++i) {
    const auto parent = Nodes[i].Parent;
    if (parent && below[*parent]) {
      below[i] = true;
      Nodes[i].Checked = checked;
    }
  }
  updateAncestors(index);
}

bool FileTree::anyChildChecked(std::size_t index) const {
  for (const auto& node : Nodes) {
    if (node.Parent == index && node.Checked) return true;
  }
  return false;
}

void FileTree::updateAncestors(std::size_t index) {
  for (auto parent = Nodes[index].Parent; parent; parent = Nodes[*parent].Parent) {
    Nodes[*parent].Checked = anyChildChecked(*parent);
  }
}

std::vector<std::u16string> FileTree::checkedPaths() const {
  std::vector<std::u16string> paths;
  for (const auto& node : Nodes) {
    if (!node.Checked) continue;
    auto path = nodePath(node);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

void FileTree::restoreChecks(const std::vector<std::u16string>& paths) {
  std::unordered_set<std::u16string> wanted;
  for (const auto& path : paths) wanted.insert(toUpperAscii(path));
  std::vector<bool> hasChildren(Nodes.size(), false);
  for (const auto& node : Nodes) {
    if (node.Parent) hasChildren[*node.Parent] = true;
  }
  for (auto& node : Nodes) {
    const auto path = nodePath(node);
    if (!path.empty()) node.Checked = wanted.contains(toUpperAscii(path));
  }
  for (std::size_t i = Nodes.size(); i-- > 0;) {
    if (hasChildren[i] && nodePath(Nodes[i]).empty()) Nodes[i].Checked = anyChildChecked(i);
  }
}

std::u16string FileTree::nodePath(const TreeNode& node) {
  // A file name may itself hold a "|", so the path ends at the last one.
  const auto bar = node.Tag.rfind(u'|');
  return bar == std::u16string::npos ? node.Tag : node.Tag.substr(0, bar);
}

}  // namespace yentax
