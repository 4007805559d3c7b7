#include "qt/rate_label_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "qt/dialog_parts.h"
#include "settings/option_form.h"

namespace yentax {

QWidget* rateLabelPage(QWidget* parent, RateLabelTab& tab, ViewBindings& bind) {
  auto* page = makeAt<QWidget>(parent, "Frm_Option", SFrm_Option::kRateLabelTab);
  auto* grid = new QGridLayout(page);
  auto* labels = make<QCheckBox>(page, "Chk_UseLabels");
  bind.check(labels, tab.Chk_UseLabels, [&tab] { tab.Chk_UseLabels_Click(); });
  grid->addWidget(labels, 0, 0, 1, 2);

  auto* choices = new QHBoxLayout;
  for (int i = 0; i < static_cast<int>(tab.Opt_LabelList.size()); ++i) {
    auto* button = makeAt<QRadioButton>(page, "Opt_LabelList", i);
    bind.option(button, tab.Opt_LabelList[static_cast<std::size_t>(i)],
                [&tab, i] { tab.Opt_LabelList_Click(i); });
    choices->addWidget(button);
  }
  grid->addLayout(choices, 1, 0, 1, 2);
  auto* list = make<QListWidget>(page, "Lst_Labels");
  list->setMinimumHeight(90);
  bind.list(list, tab.Lst_Labels);
  bind.accessibleName(list, tab.Chk_UseLabels);
  grid->addWidget(list, 2, 0);

  auto* buttons = new QVBoxLayout;
  auto* entry = make<QLineEdit>(page, "Txt_NewEntry");
  bind.text(entry, tab.Txt_NewEntry);
  bind.accessibleName(entry, tab.Cmd_Label[RateLabelTab::kAddEntry]);
  buttons->addWidget(entry);
  for (int i = 0; i < static_cast<int>(tab.Cmd_Label.size()); ++i) {
    auto* button = makeAt<QPushButton>(page, "Cmd_Label", i);
    bind.clicked(button, tab.Cmd_Label[static_cast<std::size_t>(i)],
                 [&tab, i] { tab.Cmd_Label_Click(i); });
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  grid->addLayout(buttons, 2, 1);

  auto* rateRow = new QHBoxLayout;
  auto* rate = make<QLineEdit>(page, "Txt_ReducedRate");
  bind.text(rate, tab.Txt_ReducedRate);
  auto* rateLabel = make<QLabel>(page, "Lbl_ReducedRate");
  bind.label(rateLabel, tab.Lbl_ReducedRate);
  rateLabel->setBuddy(rate);
  auto* percent = make<QLabel>(page, "Lbl_Percent");
  bind.label(percent, tab.Lbl_Percent);
  rateRow->addWidget(rateLabel);
  rateRow->addWidget(rate);
  rateRow->addWidget(percent);
  rateRow->addStretch(1);
  grid->addLayout(rateRow, 3, 0, 1, 2);
  auto* showRate = make<QCheckBox>(page, "Chk_ShowRate");
  bind.check(showRate, tab.Chk_ShowRate);
  grid->addWidget(showRate, 4, 0, 1, 2);
  grid->setRowStretch(2, 1);
  return page;
}

}  // namespace yentax
