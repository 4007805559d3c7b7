#include "app/about_box.h"

#include "app/version_info.h"
#include "base/utf8.h"

namespace yentax {

SFrm_About::SFrm_About(UiHost& ui) : ui_(ui) {
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
  ui_.showMessage(u"この環境ではシステム情報を使用できません。", MessageIcon::Information);
}

}  // namespace yentax
