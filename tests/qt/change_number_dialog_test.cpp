#include "qt/change_number_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt/qt_form_host.h"
#include "tests/qt/modal_answer.h"

namespace yentax {
namespace {

TEST(ChangeNumberDialogTest, OkTakesTheEditAndEscapeLeavesIt) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  SFrm_ChangeNumber single(u"1,000円", u"1,050円");
  whenModalShows([](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "金額変換");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("Txt_Source")->text(), "1,000円");
    dialog->findChild<QLineEdit*>("Txt_Change")->clear();
    dialog->findChild<QPushButton*>("Command1(0)")->click();
  });
  forms.show(single);
  EXPECT_TRUE(single.EditAccepted);
  EXPECT_EQ(single.EditResultText, u"");

  SFrm_ChangeNumber2 cell(u"500", u"525");
  whenModalShows([](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "セル変換");
    dialog->findChild<QLineEdit*>("Txt_Change")->setText("999");
    qobject_cast<QDialog*>(dialog)->reject();
  });
  forms.show(cell);
  EXPECT_TRUE(cell.Closed);
  EXPECT_FALSE(cell.EditAccepted);
  EXPECT_EQ(cell.EditResultText, u"525");
}

// Both dialogs open on the box to edit, its text selected so that typing replaces it.
TEST(ChangeNumberDialogTest, TheEditableBoxHasTheFocusWithItsTextSelected) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  SFrm_ChangeNumber single(u"1,000円", u"1,050円");
  SFrm_ChangeNumber2 cell(u"500", u"525");
  QStringList focused;
  const auto look = [&focused](QWidget* dialog) {
    auto* change = dialog->findChild<QLineEdit*>("Txt_Change");
    // The widget that has the focus whenever the dialog is active.
    const auto* focus = dialog->focusWidget();
    focused << (focus ? focus->objectName() : QString()) << change->selectedText();
    qobject_cast<QDialog*>(dialog)->reject();
  };
  whenModalShows(look);
  forms.show(single);
  whenModalShows(look);
  forms.show(cell);
  EXPECT_EQ(focused, (QStringList{"Txt_Change", "1,050円", "Txt_Change", "525"}));
}

}  // namespace
}  // namespace yentax