// The keyboard and the names a screen reader reads in the small dialogs: the font dialog,
// the amount detail dialog, the two amount edit dialogs, the word dialog and the rate
// change.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "qt/qt_form_host.h"
#include "settings/add_word_form.h"
#include "settings/change_number_form.h"
#include "settings/font_form.h"
#include "settings/kin_form.h"
#include "settings/rerate_form.h"
#include "tests/qt/control_audit.h"
#include "tests/qt/modal_answer.h"

namespace yentax {
namespace {

// The control that has the focus once the dialog is the active window.
QWidget* focusOf(QWidget* dialog) {
  QApplication::setActiveWindow(dialog);
  return dialog->focusWidget() ? dialog->focusWidget() : dialog;
}

struct Dialogs {
  QtUi ui{u"yentax"};
  QtFormHost forms{ui};
  ConversionSettings settings;

  // Shows the dialog named, acted on by action once it is up; true when it was accepted.
  bool show(const QString& name, const std::function<void(QWidget*)>& action) {
    whenModalShows(action);
    if (name == "font") {
      FontSpec font;
      return ShowFontDialog(forms, ui, {u"(標準フォント)", u"IPAGothic"}, font);
    }
    if (name == "kin") {
      SFrm_Kin form(settings, ui);
      forms.show(form);
      return form.Accepted;
    }
    if (name == "word") {
      SFrm_AfterStr form(ui, SFrm_AfterStr::kSuffixList, {});
      forms.show(form);
      return form.AddWordAccepted;
    }
    if (name == "rerate") {
      SFrm_Rerate form(settings, ui);
      forms.show(form);
      return form.Accepted;
    }
    if (name == "amount") {
      SFrm_ChangeNumber form(u"1,000円", u"1,050円");
      forms.show(form);
      return form.EditAccepted;
    }
    SFrm_ChangeNumber2 form(u"500", u"525");
    forms.show(form);
    return form.EditAccepted;
  }
};

// Tab goes in reading order, every accelerator letter reaches one control, every control
// has a name; Enter is OK and Esc is Cancel whichever control has the focus.
TEST(DialogKeysTest, TabOrderNamesAndTheEnterAndEscapeKeys) {
  struct Row {
    QString dialog;
    QStringList order;
    QString typed = "x";  // what the focused box takes before Enter
  };
  const Row rows[] = {
      {.dialog = "font",
       .order = {"Txt_Name", "Lst_Name", "Txt_Size", "Lst_Size", "Chk_Bold", "Chk_Italic",
                 "Chk_Underline", "Chk_StrikeThrough", "Chk_Color", "Cmb_Color", "Cmd_Ref_Color",
                 "Cmd_OK", "Cmd_Cancel"}},
      {.dialog = "kin",
       .order = {"Chk_Kin(0)", "Chk_Kin(1)", "Chk_Kin(2)", "Chk_Tag", "Cmd_OptionRet(0)",
                 "Cmd_OptionRet(1)"}},
      {.dialog = "word", .order = {"Txt_AddStr", "Cmd_Ret(0)", "Cmd_Ret(1)"}},
      {.dialog = "amount", .order = {"Txt_Source", "Txt_Change", "Command1(0)", "Command1(1)"}},
      {.dialog = "cell", .order = {"Txt_Source", "Txt_Change", "Command1(0)", "Command1(1)"}},
      {.dialog = "rerate",
       .order = {"Txt_From", "Txt_To", "Cmb_Items", "Command1(0)", "Command1(1)"},
       .typed = "0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.dialog.toStdString());
    Dialogs d;
    const bool escaped = d.show(row.dialog, [&row](QWidget* dialog) {
      EXPECT_EQ(tabOrder(dialog).join(' '), row.order.join(' '));
      EXPECT_EQ(clashingMnemonics(dialog).join(' '), "");
      EXPECT_EQ(deadMnemonics(dialog).join(' '), "");
      EXPECT_EQ(unnamedControls(dialog).join(' '), "");
      QTest::keyClick(focusOf(dialog), Qt::Key_Escape);
    });
    EXPECT_FALSE(escaped);
    const bool entered = d.show(row.dialog, [&row](QWidget* dialog) {
      QTest::keyClicks(focusOf(dialog), row.typed);
      QTest::keyClick(focusOf(dialog), Qt::Key_Return);
    });
    EXPECT_TRUE(entered);
  }
}

// Alt with a label's letter gives the focus to its box, which selects its text.
TEST(DialogKeysTest, AnAcceleratorLetterReachesItsBox) {
  Dialogs d;
  QString focused;
  QString selected;
  d.show("font", [&](QWidget* dialog) {
    QTest::keyClick(focusOf(dialog), Qt::Key_S, Qt::AltModifier);
    QApplication::processEvents();
    focused = dialog->focusWidget()->objectName();
    selected = dialog->findChild<QLineEdit*>("Txt_Size")->selectedText();
    QTest::keyClick(focusOf(dialog), Qt::Key_Escape);
  });
  EXPECT_EQ(focused, "Txt_Size");
  EXPECT_EQ(selected, "標準");
}

}  // namespace
}  // namespace yentax
