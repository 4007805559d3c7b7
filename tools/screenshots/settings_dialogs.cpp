#include "qt/add_word_dialog.h"
#include "qt/change_number_dialog.h"
#include "qt/font_dialog.h"
#include "qt/kin_dialog.h"
#include "qt/option_dialog.h"
#include "qt/qt_form_host.h"
#include "qt/rerate_dialog.h"
#include "settings/conversion_settings.h"
#include "tools/screenshots/screenshots.h"

namespace yentax {
namespace {

const bool options = registerShots("options", [](ShotContext& shot) {
  auto settings = ConversionSettings::defaults(u"/opt/yentax");
  QtFormHost forms(shot.ui());
  SFrm_Option form(settings, shot.ui(), forms);
  OptionDialog dialog(form, shot.ui());
  const char* tabNames[] = {"options_general", "options_target",  "options_result",
                            "options_tax",     "options_command", "options_rates"};
  for (int tab = 0; tab <= SFrm_Option::kRateLabelTab; ++tab) {
    form.Tab1.SelectedIndex = tab;
    form.Tab1_Click();
    shot.ui().processPendingEvents();  // the view shows the model's tab
    shot.save(dialog, tabNames[tab]);
  }
  form.Tab1.SelectedIndex = SFrm_Option::kTargetTab;
  form.Tab1_Click();
  const char* subTabNames[] = {"options_target_prefix", "options_target_suffix",
                               "options_target_other"};
  for (int subTab = 1; subTab < 4; ++subTab) {
    form.Tab2.SelectedIndex = subTab;
    form.Tab2_Click();
    shot.ui().processPendingEvents();
    shot.save(dialog, subTabNames[subTab - 1]);
  }
});

const bool detail = registerShots("kin", [](ShotContext& shot) {
  ConversionSettings settings;
  SFrm_Kin form(settings, shot.ui());
  KinDialog dialog(form, shot.ui());
  shot.save(dialog, "kin");
});

const bool addWord = registerShots("add_word", [](ShotContext& shot) {
  SFrm_AfterStr form(shot.ui(), SFrm_AfterStr::kSuffixList, {});
  form.Txt_AddStr.Text = u"ケース";
  AddWordDialog dialog(form, shot.ui());
  shot.save(dialog, "add_word");
});

const bool changeNumber = registerShots("change_number", [](ShotContext& shot) {
  SFrm_ChangeNumber form(u"1,000円", u"1,000円(税込み1,050円)&nbsp;");
  ChangeNumberDialog dialog(form, shot.ui());
  shot.save(dialog, "change_number");
});

const bool rerate = registerShots("rerate", [](ShotContext& shot) {
  ConversionSettings settings;
  SFrm_Rerate form(settings, shot.ui());
  form.Txt_From.Text = u"8";
  form.Txt_To.Text = u"0";
  form.Cmb_Items.ListIndex = SFrm_Rerate::kReducedItems;
  RerateDialog dialog(form, shot.ui());
  shot.save(dialog, "rerate");
});

const bool font = registerShots("font", [](ShotContext& shot) {
  FontSpec shown;
  shown.Size = 5;
  shown.Underline = true;
  shown.Color = u"Navy";
  SFrm_HTMLFont form(shot.ui(), BuildFontList(shot.ui()), shown);
  FontDialog dialog(form, shot.ui());
  shot.save(dialog, "font");
});

}  // namespace
}  // namespace yentax
