#include "qt/add_word_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

  layout->addWidget(
      okCancelButtons("Cmd_Ret", form.Cmd_Ret, [&form](int i) { form.Cmd_Ret_Click(i); }));

  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
}

void QtFormHost::show(SFrm_AfterStr& form) {
  AddWordDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
