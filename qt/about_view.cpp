#include "qt/about_view.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/qt_form_host.h"

namespace yentax {

AboutView::AboutView(SFrm_About& form, QtUi& ui, QWidget* parent)
    : QDialog(parent), form_(form), bind_(&ui) {
  setObjectName("SFrm_About");
  setWindowTitle(toQString(form_.Caption));
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  auto* title = make<QLabel>(this, "Lbl_Title");
  auto* version = make<QLabel>(this, "Lbl_Version");
  auto* notice = make<QLabel>(this, "Lbl_Copyright");
  auto* ok = make<QPushButton>(this, "Cmd_OK");
  auto* systemInfo = make<QPushButton>(this, "Cmd_SysInfo");
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
  titleFont.setBold(true);
  title->setFont(titleFont);
  ok->setDefault(true);

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(version);
  texts->addSpacing(8);
  texts->addWidget(notice);
  texts->addStretch(1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(systemInfo);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addLayout(texts, 1);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  bind_.label(title, form_.Lbl_Title);
  bind_.label(version, form_.Lbl_Version);
  bind_.label(notice, form_.Lbl_Copyright);
  bind_.clicked(ok, form_.Cmd_OK, [this] { form_.Cmd_OK_Click(); });
  bind_.clicked(systemInfo, form_.Cmd_SysInfo, [this] { form_.Cmd_SysInfo_Click(); });
  bind_.closeWhen(this, [this] { return form_.Closed; });
  bind_.refreshFromModel();
}

void QtFormHost::show(SFrm_About& form) {
  AboutView view(form, ui_, QApplication::activeWindow());
  view.exec();
}

}  // namespace yentax
