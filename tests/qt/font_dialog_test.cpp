#include "qt/font_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "qt/qt_form_host.h"
#include "tests/qt/modal_answer.h"

namespace yentax {
namespace {

TEST(FontDialogTest, ReturnsTheChosenValuesAndDrawsThePreview) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  const std::vector<std::u16string> fonts = {u"(標準フォント)", u"IPAGothic", u"DejaVu Sans"};
  FontSpec font;
  bool previewChecked = false;
  whenModalShows([&previewChecked](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "フォントの設定");
    // A box getting the focus selects its text once the click that gave it has placed
    // the cursor; a picked entry's text is selected too.
    auto* name = dialog->findChild<QLineEdit*>("Txt_Name");
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(name, &focusIn);
    name->setCursorPosition(3);
    QApplication::processEvents();
    EXPECT_EQ(name->selectedText(), "(標準フォント)");
    dialog->findChild<QListWidget*>("Lst_Name")->setCurrentRow(2);
    dialog->findChild<QListWidget*>("Lst_Size")->setCurrentRow(6);
    EXPECT_EQ(dialog->findChild<QLineEdit*>("Txt_Size")->selectedText(), "6 (24 ポイント)");
    dialog->findChild<QCheckBox*>("Chk_Italic")->click();
    auto* color = dialog->findChild<QComboBox*>("Cmb_Color");
    color->lineEdit()->clear();
    QTest::keyClicks(color->lineEdit(), "navy");
    auto* preview = dialog->findChild<QLabel*>("Lbl_Preview");
    EXPECT_EQ(preview->text(), "Aaあぁアァ亜字");
    EXPECT_EQ(preview->font().family(), "DejaVu Sans");
    EXPECT_EQ(preview->font().pointSize(), 24);
    EXPECT_TRUE(preview->font().italic());
    EXPECT_TRUE(preview->font().bold());
    EXPECT_EQ(preview->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(dialog->findChild<QWidget*>("Pic_Color")->palette().color(QPalette::Window),
              QColor(0, 0, 128));
    previewChecked = true;
    dialog->findChild<QPushButton*>("Cmd_OK")->click();
  });
  ASSERT_TRUE(ShowFontDialog(forms, ui, fonts, font));
  EXPECT_TRUE(previewChecked);
  EXPECT_EQ(font, (FontSpec{.Name = u"DejaVu Sans",
                            .Size = 6,
                            .Bold = true,
                            .Italic = true,
                            .StrikeThrough = false,
                            .Underline = false,
                            .Color = u"navy"}));

  whenModalShows([](QWidget* dialog) {
    dialog->findChild<QCheckBox*>("Chk_Bold")->click();
    dialog->findChild<QPushButton*>("Cmd_Cancel")->click();
  });
  EXPECT_FALSE(ShowFontDialog(forms, ui, fonts, font));
  EXPECT_TRUE(font.Bold);
}

}  // namespace
}  // namespace yentax
