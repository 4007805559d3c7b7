#include "qt/change_number_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "qt/qt_form_host.h"

namespace yentax {

ChangeNumberDialog::ChangeNumberDialog(AmountEditForm& form, QtUi& ui, QWidget* parent)
    : FormDialog(ui, form.Caption, parent) {
  auto* layout = new QVBoxLayout(this);
  auto* sourceLabel = make<QLabel>(this, "Lbl_Source");
  auto* source = make<QLineEdit>(this, "Txt_Source");
  source->setReadOnly(true);
  auto* changeLabel = make<QLabel>(this, "Lbl_Change");
  auto* change = make<QLineEdit>(this, "Txt_Change");
  change->setMinimumWidth(460);
  bind_.label(sourceLabel, form.Lbl_Source);
  bind_.text(source, form.Txt_Source);
  sourceLabel->setBuddy(source);
  bind_.label(changeLabel, form.Lbl_Change);
  // With a buddy the label reads "&&" as one "&", as the caption means it.
  changeLabel->setBuddy(change);
  bind_.text(change, form.Txt_Change);
  layout->addWidget(sourceLabel);
  layout->addWidget(source);
  layout->addWidget(changeLabel);
  layout->addWidget(change);

  layout->addWidget(
      okCancelButtons("Command1", form.Command1, [&form](int i) { form.Command1_Click(i); }));

  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
  // The amount is there to be edited: the edit box takes the focus with its text
  // selected, so that typing replaces it; the source box is only read.
  change->setFocus();
  change->selectAll();
}

void QtFormHost::show(SFrm_ChangeNumber& form) {
  ChangeNumberDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

void QtFormHost::show(SFrm_ChangeNumber2& form) {
  ChangeNumberDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
