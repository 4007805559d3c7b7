#include "platform/display_check.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace yentax {
namespace {

using std::chrono::milliseconds;

EnvironmentLookup environment(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

// Servers that answer from a given round of asking on (0: at once; -1: never), and the
// pauses taken between rounds.
struct Servers {
  explicit Servers(int x = -1, int wayland = -1) : xFrom(x), waylandFrom(wayland) {}
  int xFrom;
  int waylandFrom;
  std::vector<std::string> asked;
  int rounds = 0;
  milliseconds paused{0};

  DisplayProbes probes() {
    DisplayProbes probes;
    probes.connectToX = [this](const std::string& display) {
      asked.push_back("x " + display);
      return xFrom >= 0 && rounds >= xFrom;
    };
    probes.connectToWayland = [this](const std::string& path) {
      asked.push_back("wayland " + path);
      return waylandFrom >= 0 && rounds >= waylandFrom;
    };
    probes.pause = [this](milliseconds duration) {
      paused += duration;
      ++rounds;
    };
    return probes;
  }
};

TEST(DisplayCheckTest, APlatformNeedingNoServerOrADisplayThatAnswersWillDo) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> env{};
    int xFrom = -1;
    int waylandFrom = -1;
    bool available = false;
    std::vector<std::string> asked{};
  };
  const Case cases[] = {
      {.name = "nothing named"},
      {.name = "offscreen", .env = {{"QT_QPA_PLATFORM", "offscreen"}}, .available = true},
      {.name = "fallback list", .env = {{"QT_QPA_PLATFORM", "xcb;minimal"}}, .available = true},
      {.name = "empty platform", .env = {{"QT_QPA_PLATFORM", ""}}, .xFrom = 0},
      {.name = "X answers",
       .env = {{"DISPLAY", ":0"}},
       .xFrom = 0,
       .available = true,
       .asked = {"x :0"}},
      {.name = "xcb with options",
       .env = {{"QT_QPA_PLATFORM", "xcb:nograb"}, {"DISPLAY", ":1"}},
       .xFrom = 0,
       .available = true,
       .asked = {"x :1"}},
      {.name = "wayland before X",
       .env = {{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_RUNTIME_DIR", "/run/u"}, {"DISPLAY", ":0"}},
       .waylandFrom = 0,
       .available = true,
       .asked = {"wayland /run/u/wayland-1"}},
      {.name = "wayland without a runtime folder",
       .env = {{"QT_QPA_PLATFORM", "wayland"}},
       .waylandFrom = 0},
  };
  for (const auto& c : cases) {
    Servers servers(c.xFrom, c.waylandFrom);
    EXPECT_EQ(displayAvailable(environment(c.env), servers.probes()), c.available) << c.name;
    if (c.available) {
      EXPECT_EQ(servers.asked, c.asked) << c.name;
    }
    EXPECT_EQ(servers.paused, milliseconds(0)) << c.name;
  }
}

// A display that has only just come up may refuse the first connections: it is asked
// again for a moment before the program gives up, but nothing is waited for when no
// display is named at all.
TEST(DisplayCheckTest, ANamedDisplayIsAskedAgainForAMoment) {
  Servers late(3);
  EXPECT_TRUE(displayAvailable(environment({{"DISPLAY", ":0"}}), late.probes()));
  EXPECT_EQ(late.rounds, 3);
  EXPECT_EQ(late.paused, milliseconds(750));

  Servers never;
  EXPECT_FALSE(displayAvailable(environment({{"DISPLAY", ":0"}}), never.probes()));
  EXPECT_EQ(never.paused, DisplayProbes{}.patience);
  EXPECT_EQ(never.asked.size(), 13u);

  Servers none(0);
  EXPECT_FALSE(displayAvailable(environment({}), none.probes()));
  EXPECT_TRUE(none.asked.empty());
  EXPECT_EQ(none.paused, milliseconds(0));
}

TEST(DisplayCheckTest, AWaylandSocketIsAskedByConnecting) {
  EXPECT_FALSE(DisplayProbes::canConnectToSocket("/nonexistent/wayland-97"));
  EXPECT_FALSE(DisplayProbes::canConnectToSocket(""));
}

}  // namespace
}  // namespace yentax
