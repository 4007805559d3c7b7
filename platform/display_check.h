#pragma once

// Whether the desktop program has a display to open its window on, decided before any
// toolkit is loaded (Qt aborts when its platform fails). The platforms come from
// QT_QPA_PLATFORM (a ";" list Qt tries in turn), else Wayland when WAYLAND_DISPLAY is set,
// then X. A named display that does not answer yet is asked again for a moment: a
// display server that has only just started (a session coming up) may refuse the first
// connection.
//
//   DisplayProbes probes{.connectToX = canConnectToX};
//   if (!displayAvailable(systemEnvironment, probes)) return 2;

#include <chrono>
#include <functional>
#include <string>

#include "platform/program_location.h"

namespace yentax {

struct DisplayProbes {
  // Whether the X server of a DISPLAY value accepts a connection.
  std::function<bool(const std::string& display)> connectToX;
  // Whether a Wayland compositor listens on the socket at an absolute path.
  std::function<bool(const std::string& socketPath)> connectToWayland = canConnectToSocket;
  // Waits between two rounds of asking.
  std::function<void(std::chrono::milliseconds)> pause = pauseFor;
  // How long a named display that does not answer is asked again.
  std::chrono::milliseconds patience{3000};
  std::chrono::milliseconds interval{250};

  static bool canConnectToSocket(const std::string& socketPath);
  static void pauseFor(std::chrono::milliseconds duration);
};

// Whether one of the platforms can open a window: one that needs no display server
// (offscreen, vnc, ...), or a display that answers within the probes' patience.
bool displayAvailable(const EnvironmentLookup& env, const DisplayProbes& probes);

}  // namespace yentax
