#include "app/about_box.h"

#include <unistd.h>

#include "base/utf8.h"
#include "platform/console_ui.h"
#include "platform/version_info.h"

namespace yentax {

std::optional<std::string> findSystemInfoTool(const EnvironmentLookup& env) {
  const auto path = env("PATH");
  if (!path) return std::nullopt;
  for (const auto tool : kSystemInfoTools) {
    std::string_view folders = *path;
    while (!folders.empty()) {
      const auto colon = folders.find(':');
      const auto folder = folders.substr(0, colon);
      folders = colon == std::string_view::npos ? std::string_view{} : folders.substr(colon + 1);
      // A relative PATH entry would make the tool depend on the current folder.
      if (!folder.starts_with('/')) continue;
      auto candidate = std::string(folder) + "/" + std::string(tool);
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
  }
  return std::nullopt;
}

SFrm_About::SFrm_About(UiHost& ui, EnvironmentLookup env, ProgramLauncher launch)
    : ui_(ui), env_(std::move(env)), launch_(std::move(launch)) {
  if (!launch_) launch_ = [](const std::string& program) { return spawnDetached(program, {}); };
  Caption = std::u16string(kProgramTitle) + u" のﾊﾞｰｼﾞｮﾝ情報";
  Lbl_Version.Caption = u"ﾊﾞｰｼﾞｮﾝ " + utf8ToUtf16(std::to_string(kVersionMajor) + "." +
                                                  std::to_string(kVersionMinor) + "." +
                                                  std::to_string(kVersionRevision));
  Lbl_Title.Caption = kProgramTitle;
  Lbl_Copyright.Caption = kLegalNotice;
  Cmd_OK.Caption = u"OK";
  Cmd_SysInfo.Caption = u"システム情報(&S)...";
}

void SFrm_About::Cmd_SysInfo_Click() {
  const auto tool = findSystemInfoTool(env_);
  if (tool && launch_(*tool)) return;
  ui_.showMessage(u"この環境ではシステム情報を使用できません。", MessageIcon::Information);
}

}  // namespace yentax
