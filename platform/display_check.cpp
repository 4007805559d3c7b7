#include "platform/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace yentax {

namespace {

// A platform to try: one that needs no server, or the server it needs.
struct Platform {
  enum class Kind { kNoServer, kX, kWayland } kind = Kind::kNoServer;
  std::string address;  // DISPLAY, or the Wayland socket's path; "" when none is named
};

std::optional<Platform> platformNamed(std::string_view name, const EnvironmentLookup& env) {
  // "xcb:option=value" names the platform before its options.
  name = name.substr(0, name.find(':'));
  if (name.empty()) return std::nullopt;
  if (name == "xcb") return Platform{Platform::Kind::kX, env("DISPLAY").value_or("")};
  if (name.starts_with("wayland")) {
    const auto wayland = env("WAYLAND_DISPLAY");
    std::string path = wayland && !wayland->empty() ? *wayland : "wayland-0";
    if (!path.starts_with('/')) {
      const auto runtime = env("XDG_RUNTIME_DIR");
      path = runtime && !runtime->empty() ? *runtime + "/" + path : std::string();
    }
    return Platform{Platform::Kind::kWayland, path};
  }
  return Platform{};
}

std::vector<Platform> platformsOf(const EnvironmentLookup& env) {
  std::vector<Platform> platforms;
  if (const auto named = env("QT_QPA_PLATFORM"); named && !named->empty()) {
    std::string_view rest = *named;
    while (!rest.empty()) {
      const auto semicolon = rest.find(';');
      if (auto platform = platformNamed(rest.substr(0, semicolon), env)) {
        platforms.push_back(*platform);
      }
      rest = semicolon == std::string_view::npos ? std::string_view{} : rest.substr(semicolon + 1);
    }
    return platforms;
  }
  const auto wayland = env("WAYLAND_DISPLAY");
  if (wayland && !wayland->empty()) platforms.push_back(*platformNamed("wayland", env));
  platforms.push_back(*platformNamed("xcb", env));
  return platforms;
}

bool answers(const Platform& platform, const DisplayProbes& probes) {
  switch (platform.kind) {
    case Platform::Kind::kNoServer:
      return true;
    case Platform::Kind::kX:
      return probes.connectToX && probes.connectToX(platform.address);
    case Platform::Kind::kWayland:
      return probes.connectToWayland && probes.connectToWayland(platform.address);
  }
  return false;
}

}  // namespace

bool DisplayProbes::canConnectToSocket(const std::string& socketPath) {
  sockaddr_un address{};
  if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

void DisplayProbes::pauseFor(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

bool displayAvailable(const EnvironmentLookup& env, const DisplayProbes& probes) {
  std::vector<Platform> platforms = platformsOf(env);
  // A platform that names no server address can never answer; only the others are worth
  // waiting for.
  std::erase_if(platforms, [](const Platform& platform) {
    return platform.kind != Platform::Kind::kNoServer && platform.address.empty();
  });
  if (platforms.empty()) return false;
  for (std::chrono::milliseconds waited{0};; waited += probes.interval) {
    for (const auto& platform : platforms) {
      if (answers(platform, probes)) return true;
    }
    if (waited >= probes.patience || probes.interval.count() <= 0 || !probes.pause) return false;
    probes.pause(probes.interval);
  }
}

}  // namespace yentax
