#include "qt/rerate_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <utility>

#include "qt/qt_form_host.h"

namespace yentax {

RerateDialog::RerateDialog(SFrm_Rerate& form, QtUi& ui, QWidget* parent)
    : FormDialog(ui, form.Caption, parent) {
  auto* layout = new QVBoxLayout(this);
  auto* note = make<QLabel>(this, "Lbl_Note");
  note->setWordWrap(true);
  bind_.label(note, form.Lbl_Note);
  layout->addWidget(note);

  auto* fields = new QFormLayout;
  auto* fromLabel = make<QLabel>(this, "Lbl_From");
  auto* from = make<QLineEdit>(this, "Txt_From");
  auto* toLabel = make<QLabel>(this, "Lbl_To");
  auto* to = make<QLineEdit>(this, "Txt_To");
  auto* itemsLabel = make<QLabel>(this, "Lbl_Items");
  auto* items = make<QComboBox>(this, "Cmb_Items");
  const std::pair<QLabel*, QWidget*> rows[] = {
      {fromLabel, from}, {toLabel, to}, {itemsLabel, items}};
  for (const auto& [label, field] : rows) {
    label->setBuddy(field);
    fields->addRow(label, field);
  }
  bind_.label(fromLabel, form.Lbl_From);
  bind_.text(from, form.Txt_From);
  bind_.label(toLabel, form.Lbl_To);
  bind_.text(to, form.Txt_To);
  bind_.label(itemsLabel, form.Lbl_Items);
  bind_.combo(items, form.Cmb_Items);
  layout->addLayout(fields);

  layout->addWidget(
      okCancelButtons("Command1", form.Command1, [&form](int i) { form.Command1_Click(i); }));

  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
  // The new rate is what the user came to type.
  to->setFocus();
}

void QtFormHost::show(SFrm_Rerate& form) {
  RerateDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
