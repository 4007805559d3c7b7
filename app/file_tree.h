#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"

namespace yentax {

// "HTM" or "HTML" in any letter case: the extensions of pages rather than plain text.
bool isPageExtension(std::u16string_view extension);

struct TreeNode {
  std::u16string Key;
  std::u16string Text;
  std::u16string Image;  // "HTM" for pages, "TXT" for other files, "" for the root
  std::u16string Tag;    // "path|extension" for a file, "" for the root
  bool Checked = false;
  std::optional<std::size_t> Parent;
};

// The tree of files with check boxes on the folder tab: one root for all files and one
// child per file, in listing order.
class FileTree : public CaptionControl {
 public:
  static constexpr std::u16string_view kRootKey = u"\\\\Root";
  static constexpr std::u16string_view kRootText = u"(すべてのファイル)";

  FileTree() { Caption = u"ファイル(&L):"; }

  std::vector<TreeNode> Nodes;
  std::optional<std::size_t> SelectedItem;  // the highlighted node, not a checked one

  // Replaces every node by the root and one unchecked child per file of the folder.
  void fill(std::u16string_view folder, const std::vector<std::u16string>& fileNames);
  void clear();

  // The check event of a node whose Checked the user has just changed: its children at
  // every depth follow it, and each ancestor is checked exactly when one of its
  // children is.
  void nodeCheck(std::size_t index);

  // The paths of the checked nodes that have one, in node order.
  std::vector<std::u16string> checkedPaths() const;

  // Checks the nodes whose path is in the list (compared in ASCII upper case) and
  // unchecks every other node with a path; the nodes without a path then show whether
  // any of their children is checked.
  void restoreChecks(const std::vector<std::u16string>& paths);

  // The file path a node stands for: its tag without the "|extension" that ends it.
  static std::u16string nodePath(const TreeNode& node);

 private:
  void updateAncestors(std::size_t index);
  bool anyChildChecked(std::size_t index) const;
};

}  // namespace yentax
