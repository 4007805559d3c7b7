#include "qt/add_word_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/qt_form_host.h"

namespace yentax {

AddWordDialog::AddWordDialog(SFrm_AfterStr& form, QtUi& ui, QWidget* parent)
    : FormDialog(ui, form.Caption, parent) {
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* label = make<QLabel>(this, "Label1");
  auto* word = make<QLineEdit>(this, "Txt_AddStr");
  word->setMinimumWidth(220);
  bind_.label(label, form.Label1);
  label->setBuddy(word);
  bind_.text(word, form.Txt_AddStr);
  row->addWidget(label);
  row->addWidget(word, 1);
  layout->addLayout(row);

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = makeAt<QPushButton>(this, "Cmd_Ret", SFrm_AfterStr::kOk);
  auto* cancel = makeAt<QPushButton>(this, "Cmd_Ret", SFrm_AfterStr::kCancel);
  ok->setDefault(true);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  bind_.clicked(ok, form.Cmd_Ret[SFrm_AfterStr::kOk],
                [&form] { form.Cmd_Ret_Click(SFrm_AfterStr::kOk); });
  bind_.clicked(cancel, form.Cmd_Ret[SFrm_AfterStr::kCancel],
                [&form] { form.Cmd_Ret_Click(SFrm_AfterStr::kCancel); });
  layout->addWidget(buttons);

  onCancel = [&form] { form.Cmd_Ret_Click(SFrm_AfterStr::kCancel); };
  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
}

void QtFormHost::show(SFrm_AfterStr& form) {
  AddWordDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
