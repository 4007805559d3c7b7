#include "qt/bindings.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace yentax {
namespace {

// A form in miniature: a handler that reads an edit and changes other controls.
struct TinyForm {
  TextBox Txt_Rate;
  CheckBox Chk_Log;
  ComboBox Cmb_Kind;
  CaptionControl Cmd_OK;
  RichTextBox Txt_Html;
  bool closed = false;
  int clicks = 0;

  void Cmd_OK_Click() {
    ++clicks;
    Cmd_OK.Caption = Txt_Rate.Text + u"%";
    Chk_Log.Enabled = !Chk_Log.Checked;
    closed = Cmb_Kind.ListIndex == 1;
  }
};

struct BindingsFixture : testing::Test {
  TinyForm form;
  QDialog dialog;
  ViewBindings bind;
  QLineEdit* rate = make<QLineEdit>(&dialog, "Txt_Rate");
  QCheckBox* log = make<QCheckBox>(&dialog, "Chk_Log");
  QComboBox* kind = make<QComboBox>(&dialog, "Cmb_Kind");
  QPushButton* ok = make<QPushButton>(&dialog, "Cmd_OK");
  QPlainTextEdit* html = make<QPlainTextEdit>(&dialog, "Txt_Html");

  BindingsFixture() {
    form.Cmb_Kind.Items = {u"追加", u"置換"};
    form.Cmd_OK.Caption = u"&Ok";
    bind.text(rate, form.Txt_Rate);
    bind.check(log, form.Chk_Log);
    bind.combo(kind, form.Cmb_Kind);
    bind.clicked(ok, form.Cmd_OK, [this] { form.Cmd_OK_Click(); });
    bind.richText(html, form.Txt_Html);
    bind.closeWhen(&dialog, [this] { return form.closed; });
    bind.refreshFromModel();
  }
};

TEST_F(BindingsFixture, WidgetsAreNamedAfterTheirControlsAndShowTheModel) {
  EXPECT_EQ(dialog.findChild<QPushButton*>("Cmd_OK"), ok);
  EXPECT_EQ(ok->text(), "&Ok");
  EXPECT_EQ(kind->count(), 2);
  EXPECT_EQ(kind->currentIndex(), -1);
}

TEST_F(BindingsFixture, AClickCopiesEditsBackRunsTheHandlerAndShowsTheResult) {
  rate->setText("8");
  log->setChecked(true);
  ok->click();
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(form.Txt_Rate.Text, u"8");
  EXPECT_EQ(ok->text(), "8%");
  EXPECT_FALSE(log->isEnabled());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  kind->setCurrentIndex(1);
  ok->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(BindingsFixture, CopyingTheModelInFiresNoHandler) {
  QObject::connect(rate, &QLineEdit::textChanged, rate, [this] { ++form.clicks; });
  form.Txt_Rate.Text = u"10";
  bind.refreshFromModel();
  EXPECT_EQ(rate->text(), "10");
  EXPECT_EQ(form.clicks, 0);
}

TEST_F(BindingsFixture, TheSourceViewShowsTheTextAndSelectionOneForOne) {
  form.Txt_Html.Text = u"<p>\n1,980円\n";
  form.Txt_Html.SelStart = 4;
  form.Txt_Html.SelLength = 6;
  bind.refreshFromModel();
  EXPECT_EQ(html->textCursor().selectedText(), "1,980円");
  bind.collect();
  EXPECT_EQ(form.Txt_Html.Text, u"<p>\n1,980円\n");
  EXPECT_EQ(form.Txt_Html.SelStart, 4);
  EXPECT_EQ(form.Txt_Html.SelLength, 6);
  EXPECT_EQ(form.Txt_Html.selectedText(), u"1,980円");
  html->moveCursor(QTextCursor::End);
  html->insertPlainText("x");
  bind.collect();
  EXPECT_EQ(form.Txt_Html.Text, u"<p>\n1,980円\nx");
}

// A hidden source view is filled only when it shows, and gives nothing back meanwhile.
TEST_F(BindingsFixture, AHiddenSourceViewTakesTheTextWhenItShows) {
  form.Txt_Html.Visible = false;
  form.Txt_Html.Text = u"<p>500円</p>";
  form.Txt_Html.SelStart = 3;
  form.Txt_Html.SelLength = 4;
  bind.refreshFromModel();
  EXPECT_TRUE(html->toPlainText().isEmpty());
  bind.collect();
  EXPECT_EQ(form.Txt_Html.SelStart, 3);
  EXPECT_EQ(form.Txt_Html.SelLength, 4);
  form.Txt_Html.Visible = true;
  bind.refreshFromModel();
  EXPECT_EQ(html->toPlainText(), "<p>500円</p>");
  EXPECT_EQ(html->textCursor().selectedText(), "500円");
}

}  // namespace
}  // namespace yentax
