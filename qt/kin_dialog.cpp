#include "qt/kin_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "qt/qt_form_host.h"

namespace yentax {

KinDialog::KinDialog(SFrm_Kin& form, QtUi& ui, QWidget* parent)
    : FormDialog(ui, form.Caption, parent) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < static_cast<int>(form.Chk_Kin.size()); ++i) {
    auto* box = makeAt<QCheckBox>(this, "Chk_Kin", i);
    bind_.check(box, form.Chk_Kin[static_cast<std::size_t>(i)],
                [&form, i] { form.Chk_Kin_Click(i); });
    layout->addWidget(box);
  }
  auto* frame = make<QGroupBox>(this, "Frm_SubOp");
  auto* frameLayout = new QVBoxLayout(frame);
  auto* tag = make<QCheckBox>(frame, "Chk_Tag");
  bind_.check(tag, form.Chk_Tag);
  frameLayout->addWidget(tag);
  bind_.control(frame, form.Frm_SubOp);
  layout->addWidget(frame);

  layout->addWidget(okCancelButtons("Cmd_OptionRet", form.Cmd_OptionRet,
                                    [&form](int i) { form.Cmd_OptionRet_Click(i); }));

  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
}

void QtFormHost::show(SFrm_Kin& form) {
  KinDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
