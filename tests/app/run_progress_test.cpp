#include "app_fixture.h"

namespace yentax {
namespace {

struct Seen {
  int value, max;
  bool visible;
  bool operator==(const Seen&) const = default;
};

TEST(RunProgressTest, AFolderRunCountsTheTickedFilesDoneAndHidesTheBarAfterwards) {
  struct Case {
    const char* name;
    std::vector<std::size_t> unticked{};  // tree nodes, after the root
    bool fileTab = false;
    std::vector<Seen> seen{};  // at every event turn of the run
  };
  const Case cases[] = {
      {.name = "all", .seen = {{0, 3, true}, {0, 3, true}, {1, 3, true}, {2, 3, true}}},
      {.name = "one unticked",
       .unticked = {2},
       .seen = {{0, 2, true}, {0, 2, true}, {1, 2, true}, {1, 2, true}}},
      {.name = "file tab", .fileTab = true, .seen = {}},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.name);
    f.start();
    f.listPages({"a.htm", "b.htm", "c.htm"});
    for (const auto node : c.unticked) {
      f.window.Trv_Files.Nodes.at(node).Checked = false;
      f.window.Trv_Files_NodeCheck(node);
    }
    if (c.fileTab) {
      f.window.Tab1.SelectedIndex = Sfrm_Main::kFileTab;
      f.window.Tab1_Click();
      f.window.Txt_File.Text = f.scratch.u("src/a.htm");
    }
    std::vector<Seen> seen;
    const auto& bar = f.window.Prg_Files;
    f.ui.onPendingEvents([&] { seen.push_back({bar.Value, bar.Max, bar.Visible}); });
    EXPECT_FALSE(bar.Visible);
    f.window.Cmd_Change_Click();
    EXPECT_EQ(seen, c.seen);
    EXPECT_FALSE(bar.Visible);
  }
}

}  // namespace
}  // namespace yentax
