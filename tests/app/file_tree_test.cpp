#include "app/file_tree.h"

#include <gtest/gtest.h>

namespace yentax {
namespace {

std::vector<bool> checks(const FileTree& tree) {
  std::vector<bool> states;
  for (const auto& node : tree.Nodes) states.push_back(node.Checked);
  return states;
}

TEST(FileTreeTest, CheckMarksGoDownToChildrenAndUpToTheRoot) {
  struct Step {
    std::size_t node;
    bool checked;
    std::vector<bool> after;  // root and the three files
  };
  const Step steps[] = {
      {0, true, {true, true, true, true}},    {2, false, {true, true, false, true}},
      {1, false, {true, false, false, true}}, {3, false, {false, false, false, false}},
      {2, true, {true, false, true, false}},  {0, false, {false, false, false, false}},
  };
  FileTree tree;
  tree.fill(u"/shop", {u"a.htm", u"b.txt", u"x|y.HTML"});
  EXPECT_EQ(tree.Nodes[0].Key + tree.Nodes[0].Text, u"\\\\Root(すべてのファイル)");
  EXPECT_EQ(tree.Nodes[2].Tag + tree.Nodes[2].Image + tree.Nodes[3].Image,
            u"/shop/b.txt|txtTXTHTM");
  for (const auto& step : steps) {
    tree.Nodes[step.node].Checked = step.checked;
    tree.nodeCheck(step.node);
    EXPECT_EQ(checks(tree), step.after) << "node " << step.node;
  }
  tree.Nodes[1].Checked = tree.Nodes[3].Checked = true;
  EXPECT_EQ(tree.checkedPaths(), (std::vector<std::u16string>{u"/shop/a.htm", u"/shop/x|y.HTML"}));
}

TEST(FileTreeTest, RestoresCheckMarksFromAListIgnoringLetterCase) {
  struct Case {
    std::vector<std::u16string> list;
    std::vector<bool> after;
  };
  const Case cases[] = {
      {{u"/SHOP/A.HTM"}, {true, true, false, false}},
      {{u"/shop/b.htm", u"/shop/c.htm", u"/elsewhere/a.htm"}, {true, false, true, true}},
      {{u"/shop/a"}, {false, false, false, false}},
      {{}, {false, false, false, false}},
  };
  for (const auto& c : cases) {
    FileTree tree;
    tree.fill(u"/shop", {u"a.htm", u"b.htm", u"c.htm"});
    for (auto& node : tree.Nodes) node.Checked = true;
    tree.restoreChecks(c.list);
    EXPECT_EQ(checks(tree), c.after) << c.list.size();
  }
}

}  // namespace
}  // namespace yentax
