#include "qt/option_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "qt/file_drops.h"
#include "qt/qt_form_host.h"
#include "qt/rate_label_page.h"

namespace yentax {

namespace {

QGroupBox* frame(QWidget* parent, const char* name, ViewBindings& bind,
                 const CaptionControl& control) {
  auto* box = make<QGroupBox>(parent, name);
  bind.custom([box, &control] {
    box->setTitle(toQString(control.Caption));
    box->setEnabled(control.Enabled);
  });
  return box;
}

// Indents the widgets that belong to the option button above them.
constexpr int kIndent = 24;

}  // namespace

template <std::size_t N>
QRadioButton* OptionDialog::option(QWidget* parent, QButtonGroup* group, const char* name,
                                   std::array<OptionButton, N>& controls, int index,
                                   void (SFrm_Option::*onClick)(int)) {
  auto* button = makeAt<QRadioButton>(parent, name, index);
  group->addButton(button, index);
  bind_.option(button, controls[static_cast<std::size_t>(index)],
               [this, onClick, index] { (form_.*onClick)(index); });
  return button;
}

QCheckBox* OptionDialog::check(QWidget* parent, const char* name, CheckBox& control,
                               std::function<void()> onClick) {
  auto* box = make<QCheckBox>(parent, name);
  bind_.check(box, control, std::move(onClick));
  return box;
}

QLineEdit* OptionDialog::edit(QWidget* parent, const char* name, TextBox& control) {
  auto* widget = make<QLineEdit>(parent, name);
  bind_.text(widget, control);
  return widget;
}

QLabel* OptionDialog::label(QWidget* parent, const char* name, const CaptionControl& control,
                            QWidget* buddy) {
  auto* widget = make<QLabel>(parent, name);
  bind_.label(widget, control);
  if (buddy) widget->setBuddy(buddy);
  return widget;
}

OptionDialog::OptionDialog(SFrm_Option& form, QtUi& ui, QWidget* parent)
    : FormDialog(ui, form.Caption, parent), form_(form) {
  auto* layout = new QVBoxLayout(this);
  auto* tabs = make<QTabWidget>(this, "Tab1");
  tabs->addTab(generalTab(), QString());
  tabs->addTab(targetTab(), QString());
  tabs->addTab(resultTab(), QString());
  tabs->addTab(taxTab(), QString());
  tabs->addTab(commandTab(), QString());
  tabs->addTab(rateLabelPage(this, form.RateTab, bind_), QString());
  bind_.tabs(tabs, form.Tab1, [&form] { form.Tab1_Click(); });
  layout->addWidget(tabs, 1);
  layout->addWidget(buttonRow());

  onCancel = [&form] { form.Cmd_OptionRet_Click(SFrm_Option::kCancel); };
  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
}

QWidget* OptionDialog::buttonRow() {
  auto* buttons = new QDialogButtonBox(this);
  for (const int index : {SFrm_Option::kOk, SFrm_Option::kCancel}) {
    auto* button = makeAt<QPushButton>(this, "Cmd_OptionRet", index);
    bind_.clicked(button, form_.Cmd_OptionRet[static_cast<std::size_t>(index)],
                  [this, index] { form_.Cmd_OptionRet_Click(index); });
    button->setDefault(index == SFrm_Option::kOk);
    buttons->addButton(button, index == SFrm_Option::kOk ? QDialogButtonBox::AcceptRole
                                                         : QDialogButtonBox::RejectRole);
  }
  return buttons;
}

QWidget* OptionDialog::generalTab() {
  auto* tab = makeAt<QWidget>(this, "Frm_Option", SFrm_Option::kGeneralTab);
  auto* layout = new QVBoxLayout(tab);

  auto* log = frame(tab, "Frame7", bind_, form_.Frame7);
  auto* logLayout = new QGridLayout(log);
  auto* kinds = new QButtonGroup(log);
  logLayout->addWidget(option(log, kinds, "Opt_Log", form_.Opt_Log, 0, &SFrm_Option::Opt_Log_Click),
                       0, 0);
  logLayout->addWidget(option(log, kinds, "Opt_Log", form_.Opt_Log, 1, &SFrm_Option::Opt_Log_Click),
                       0, 1);
  auto* path = make<QLineEdit>(log, "Txt_FileOrFolder");
  bind_.text(path, form_.Txt_FileOrFolder);
  acceptFileDrops(path, [this](const std::vector<std::u16string>& paths) {
    bind_.handle([this, paths] { form_.Txt_FileOrFolder_OLEDragDrop(paths); });
  });
  auto* browse = make<QPushButton>(log, "Command1");
  bind_.clicked(browse, form_.Command1, [this] { form_.Command1_Click(); });
  logLayout->addWidget(path, 1, 0, 1, 2);
  logLayout->addWidget(browse, 1, 2);
  logLayout->addWidget(check(log, "Chk_Log", form_.Chk_Log), 2, 0, 1, 2);
  auto* openFolder = make<QPushButton>(log, "Cmd_LogFolder");
  bind_.clicked(openFolder, form_.Cmd_LogFolder, [this] { form_.Cmd_LogFolder_Click(); });
  logLayout->addWidget(openFolder, 2, 2);
  logLayout->setColumnStretch(1, 1);
  layout->addWidget(log);

  auto* extensions = edit(tab, "Txt_ExchangeExt", form_.Txt_ExchangeExt);
  auto* extensionRow = new QHBoxLayout;
  extensionRow->addWidget(label(tab, "Lbl_ExchangeExt", form_.Lbl_ExchangeExt, extensions));
  extensionRow->addWidget(extensions, 1);
  layout->addLayout(extensionRow);
  layout->addWidget(check(tab, "Chk_OverWriteCheck", form_.Chk_OverWriteCheck));
  layout->addWidget(check(tab, "Chk_BackUp", form_.Chk_BackUp));
  auto* backup = edit(tab, "Txt_BackUp", form_.Txt_BackUp);
  auto* backupRow = new QHBoxLayout;
  backupRow->addSpacing(kIndent);
  backupRow->addWidget(label(tab, "Label2", form_.Label2, backup));
  backupRow->addWidget(backup, 1);
  layout->addLayout(backupRow);
  layout->addStretch(1);
  return tab;
}

QWidget* OptionDialog::targetTab() {
  auto* tab = makeAt<QWidget>(this, "Frm_Option", SFrm_Option::kTargetTab);
  auto* layout = new QVBoxLayout(tab);

  auto* detection = frame(tab, "Frame1", bind_, form_.Frame1);
  auto* detectionLayout = new QGridLayout(detection);
  auto* modes = new QButtonGroup(detection);
  detectionLayout->addWidget(
      option(detection, modes, "Op_From", form_.Op_From, 0, &SFrm_Option::Op_From_Click), 0, 0, 1,
      2);
  auto* tagRow = new QHBoxLayout;
  tagRow->addSpacing(kIndent);
  tagRow->addWidget(check(detection, "Check_TagString", form_.Check_TagString));
  detectionLayout->addLayout(tagRow, 1, 0, 1, 2);
  detectionLayout->addWidget(
      option(detection, modes, "Op_From", form_.Op_From, 1, &SFrm_Option::Op_From_Click), 2, 0, 1,
      2);
  detectionLayout->addWidget(
      option(detection, modes, "Op_From", form_.Op_From, 2, &SFrm_Option::Op_From_Click), 3, 0);
  auto* detail = make<QPushButton>(detection, "Cmd_Detail");
  bind_.clicked(detail, form_.Cmd_Detail, [this] { form_.Cmd_Detail_Click(); });
  detectionLayout->addWidget(detail, 3, 1, Qt::AlignLeft);
  detectionLayout->setColumnStretch(1, 1);
  layout->addWidget(detection);

  auto* display = frame(tab, "Frame4", bind_, form_.Frame4);
  auto* displayLayout = new QGridLayout(display);
  auto* font = make<QPushButton>(display, "Cmd_Font");
  bind_.clicked(font, form_.Cmd_Font, [this] { form_.Cmd_Font_Click(); });
  displayLayout->addWidget(font, 0, 0);
  auto* fontText = label(display, "Lbl_Font", form_.Lbl_Font);
  fontText->setFrameShape(QFrame::StyledPanel);
  displayLayout->addWidget(fontText, 0, 1);
  displayLayout->addWidget(check(display, "Chk_AutoMove", form_.Chk_AutoMove), 1, 0, 1, 2);
  displayLayout->setColumnStretch(1, 1);
  layout->addWidget(display);

  auto* details = frame(tab, "Frame8", bind_, form_.Frame8);
  auto* detailsLayout = new QHBoxLayout(details);
  auto* subTabs = make<QTabWidget>(details, "Tab2");
  subTabs->addTab(amountSubTab(), QString());
  subTabs->addTab(wordSubTab(true), QString());
  subTabs->addTab(wordSubTab(false), QString());
  subTabs->addTab(otherSubTab(), QString());
  bind_.tabs(subTabs, form_.Tab2, [this] { form_.Tab2_Click(); });
  detailsLayout->addWidget(subTabs, 1);
  detailsLayout->addWidget(wordButtons());
  layout->addWidget(details, 1);
  return tab;
}

QWidget* OptionDialog::amountSubTab() {
  auto* tab = makeAt<QWidget>(this, "Frame9", SFrm_Option::kAmountSubTab);
  auto* grid = new QGridLayout(tab);
  auto* decimal = frame(tab, "Frame12", bind_, form_.Frame12);
  auto* decimalLayout = new QHBoxLayout(decimal);
  auto* decimalMark = edit(decimal, "Txt_Decimal", form_.Txt_Decimal);
  decimalMark->setReadOnly(true);
  decimalMark->setMaximumWidth(60);
  decimalLayout->addWidget(decimalMark);
  grid->addWidget(decimal, 0, 0, 2, 1);
  grid->addWidget(check(tab, "Check_DecimalChange", form_.Check_DecimalChange), 0, 1, 1, 3);
  grid->addWidget(
      check(tab, "Check_Maximum", form_.Check_Maximum, [this] { form_.Check_Maximum_Click(); }), 1,
      1);
  auto* maximum = edit(tab, "Text_Maximum", form_.Text_Maximum);
  bind_.accessibleName(maximum, form_.Check_Maximum);
  grid->addWidget(maximum, 1, 2);
  grid->addWidget(label(tab, "Label3(1)", form_.Label3[1]), 1, 3);
  grid->addWidget(
      check(tab, "Check_Minimum", form_.Check_Minimum, [this] { form_.Check_Minimum_Click(); }), 2,
      1);
  auto* minimum = edit(tab, "Text_Minimum", form_.Text_Minimum);
  bind_.accessibleName(minimum, form_.Check_Minimum);
  grid->addWidget(minimum, 2, 2);
  grid->addWidget(label(tab, "Label3(0)", form_.Label3[0]), 2, 3);
  grid->addWidget(check(tab, "Chk_ChangeZero", form_.Chk_ChangeZero), 3, 1, 1, 3);
  grid->addWidget(check(tab, "Chk_Minus", form_.Chk_Minus), 4, 1, 1, 3);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(5, 1);
  return tab;
}

QWidget* OptionDialog::wordSubTab(bool prefix) {
  auto* tab = makeAt<QWidget>(this, "Frame9",
                              prefix ? SFrm_Option::kPrefixSubTab : SFrm_Option::kSuffixSubTab);
  auto* grid = new QGridLayout(tab);
  struct Box {
    const char* name;
    CheckBox* control;
  };
  const Box boxes[] = {
      {prefix ? "Chk_BeforeHiragana" : "Chk_Hiragana",
       prefix ? &form_.Chk_BeforeHiragana : &form_.Chk_Hiragana},
      {prefix ? "Chk_BeforeKana" : "Chk_Kana", prefix ? &form_.Chk_BeforeKana : &form_.Chk_Kana},
      {prefix ? "Chk_BeforeABC" : "Chk_ABC", prefix ? &form_.Chk_BeforeABC : &form_.Chk_ABC},
  };
  int row = 0;
  for (const auto& box : boxes) grid->addWidget(check(tab, box.name, *box.control), row++, 0);
  auto* words = prefix ? check(tab, "Chk_BeforeStr", form_.Chk_BeforeStr,
                               [this] { form_.Chk_BeforeStr_Click(); })
                       : check(tab, "Chk_AfterStr", form_.Chk_AfterStr,
                               [this] { form_.Chk_AfterStr_Click(); });
  grid->addWidget(words, row++, 0);
  auto* list = make<QListWidget>(tab, prefix ? "Lst_NoChangeBefore" : "Lst_NoChange");
  list->setMinimumHeight(90);
  bind_.list(list, prefix ? form_.Lst_NoChangeBefore : form_.Lst_NoChange);
  bind_.accessibleName(list, prefix ? form_.Chk_BeforeStr : form_.Chk_AfterStr);
  grid->addWidget(list, row, 0);
  grid->setRowStretch(row, 1);
  return tab;
}

QWidget* OptionDialog::wordButtons() {
  auto* box = make<QWidget>(this, "Frame10");
  bind_.control(box, form_.Frame10);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  for (int i = 0; i < static_cast<int>(form_.Cmd_AfterStr.size()); ++i) {
    auto* button = makeAt<QPushButton>(box, "Cmd_AfterStr", i);
    bind_.clicked(button, form_.Cmd_AfterStr[static_cast<std::size_t>(i)],
                  [this, i] { form_.Cmd_AfterStr_Click(i); });
    layout->addWidget(button);
  }
  // The column keeps its width when the buttons are hidden, so the tabs do not jump.
  auto policy = box->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  box->setSizePolicy(policy);
  return box;
}

QWidget* OptionDialog::otherSubTab() {
  auto* tab = makeAt<QWidget>(this, "Frame9", SFrm_Option::kOtherSubTab);
  auto* layout = new QVBoxLayout(tab);
  auto* grouping = frame(tab, "Frame11", bind_, form_.Frame11);
  auto* groupingLayout = new QGridLayout(grouping);
  auto* requirement = new QButtonGroup(grouping);
  for (int i = 0; i < static_cast<int>(form_.Opt_Kigiri.size()); ++i) {
    groupingLayout->addWidget(option(grouping, requirement, "Opt_Kigiri", form_.Opt_Kigiri, i,
                                     &SFrm_Option::Opt_Kigiri_Click),
                              i, 0);
  }
  auto* mark = edit(grouping, "Txt_Keta", form_.Txt_Keta);
  mark->setReadOnly(true);
  mark->setMaximumWidth(60);
  auto* markRow = new QHBoxLayout;
  markRow->addWidget(label(grouping, "Label4", form_.Label4));
  markRow->addWidget(mark);
  groupingLayout->addLayout(markRow, 0, 1, Qt::AlignRight);
  groupingLayout->setColumnStretch(0, 1);
  layout->addWidget(grouping);
  layout->addWidget(check(tab, "Chk_KetaMarkCheck", form_.Chk_KetaMarkCheck));
  layout->addWidget(check(tab, "Chk_Day", form_.Chk_Day));
  layout->addStretch(1);
  return tab;
}

QWidget* OptionDialog::resultTab() {
  auto* tab = makeAt<QWidget>(this, "Frm_Option", SFrm_Option::kResultTab);
  auto* grid = new QGridLayout(tab);
  grid->setColumnMinimumWidth(0, kIndent);
  auto* kinds = new QButtonGroup(tab);
  auto* included = new QButtonGroup(tab);
  auto* breakdown = new QButtonGroup(tab);
  const auto kind = [&](int index) {
    return option(tab, kinds, "Opt_Change", form_.Opt_Change, index,
                  &SFrm_Option::Opt_Change_Click);
  };
  int row = 0;
  grid->addWidget(kind(kAppendTextOnly), row++, 0, 1, 3);
  auto* appended = edit(tab, "Text2", form_.Text2);
  bind_.accessibleName(appended, form_.Opt_Change[kAppendTextOnly]);
  grid->addWidget(appended, row++, 1);
  grid->addWidget(kind(kIncludedAmountOnly), row++, 0, 1, 3);
  for (int i = 0; i < static_cast<int>(form_.Opt_ChangeSub1.size()); ++i) {
    grid->addWidget(option(tab, included, "Opt_ChangeSub1", form_.Opt_ChangeSub1, i,
                           &SFrm_Option::Opt_ChangeSub1_Click),
                    row++, 1);
  }
  auto* pretax = edit(tab, "Txt_Pretax", form_.Txt_Pretax);
  bind_.accessibleName(pretax, form_.Opt_ChangeSub1.back());
  grid->addWidget(pretax, row - 1, 2);
  grid->addWidget(kind(kBreakdown), row++, 0, 1, 3);
  // Each breakdown style sits beside the words it places before its amounts.
  const int wordsOfStyle[4][2] = {{0, -1}, {1, -1}, {2, 3}, {4, -1}};
  for (int style = 0; style < 4; ++style) {
    grid->addWidget(option(tab, breakdown, "Opt_ChangeSub2", form_.Opt_ChangeSub2, style,
                           &SFrm_Option::Opt_ChangeSub2_Click),
                    row, 1);
    auto* words = new QHBoxLayout;
    for (const int word : wordsOfStyle[style]) {
      if (word < 0) continue;
      auto* box = makeAt<QLineEdit>(tab, "Txt_Tax", word);
      bind_.text(box, form_.Txt_Tax[static_cast<std::size_t>(word)]);
      bind_.accessibleName(box, form_.Opt_ChangeSub2[static_cast<std::size_t>(style)]);
      words->addWidget(box);
    }
    grid->addLayout(words, row++, 2);
  }
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(row, 1);
  return tab;
}

QWidget* OptionDialog::taxTab() {
  auto* tab = makeAt<QWidget>(this, "Frm_Option", SFrm_Option::kTaxTab);
  auto* grid = new QGridLayout(tab);
  int row = 0;
  const auto addRow = [&](const char* labelName, const CaptionControl& caption, QWidget* field) {
    grid->addWidget(label(tab, labelName, caption, field), row, 0);
    grid->addWidget(field, row++, 1);
  };
  const auto combo = [&](const char* name, ComboBox& control, std::function<void()> onChange) {
    auto* box = make<QComboBox>(tab, name);
    bind_.combo(box, control, std::move(onChange));
    return box;
  };
  auto* rate = edit(tab, "Txt_TaxCalc", form_.Txt_TaxCalc);
  rate->setMaximumWidth(80);
  auto* rateRow = new QHBoxLayout;
  rateRow->addWidget(rate);
  rateRow->addWidget(label(tab, "Label1", form_.Label1), 1);
  grid->addWidget(label(tab, "Lbl_TaxCalc", form_.Lbl_TaxCalc, rate), row, 0);
  grid->addLayout(rateRow, row++, 1);
  auto* modeCombo = combo("Cmb_TaxCalc(0)", form_.Cmb_TaxCalc[SFrm_Option::kRoundingModeCombo], {});
  addRow("Lbl_TaxCombo(0)", form_.Lbl_TaxCombo[SFrm_Option::kRoundingModeCombo], modeCombo);
  auto* digitCombo =
      combo("Cmb_TaxCalc(1)", form_.Cmb_TaxCalc[SFrm_Option::kRoundingDigitCombo], {});
  addRow("Lbl_TaxCombo(1)", form_.Lbl_TaxCombo[SFrm_Option::kRoundingDigitCombo], digitCombo);
  addRow("Lbl_Kakko", form_.Lbl_Kakko, combo("Cmb_Kakko", form_.Cmb_Kakko, {}));
  addRow("Lbl_Mark", form_.Lbl_Mark,
         combo("Cmb_Mark", form_.Cmb_Mark, [this] { form_.Cmb_Mark_Click(); }));
  for (int i = 0; i < 2; ++i) {
    auto* box = makeAt<QLineEdit>(tab, "Txt_Kugiri", i);
    box->setMaximumWidth(80);
    bind_.text(box, form_.Txt_Kugiri[static_cast<std::size_t>(i)]);
    const auto name = "Lbl_Kugiri(" + std::to_string(i) + ")";
    auto* caption = make<QLabel>(tab, name.c_str());
    bind_.label(caption, form_.Lbl_Kugiri[static_cast<std::size_t>(i)]);
    caption->setBuddy(box);
    auto* indented = new QHBoxLayout;
    indented->addSpacing(kIndent);
    indented->addWidget(caption);
    grid->addLayout(indented, row, 0);
    grid->addWidget(box, row++, 1);
  }
  addRow("Lbl_KinKind", form_.Lbl_KinKind, combo("Cmd_KinKind", form_.Cmd_KinKind, {}));
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(row, 1);
  return tab;
}

QWidget* OptionDialog::commandTab() {
  auto* tab = makeAt<QWidget>(this, "Frm_Option", SFrm_Option::kCommandTab);
  auto* layout = new QVBoxLayout(tab);
  auto* source = frame(tab, "Frame5", bind_, form_.Frame5);
  auto* sourceLayout = new QVBoxLayout(source);
  auto* sources = new QButtonGroup(source);
  for (int i = 0; i < 2; ++i) {
    sourceLayout->addWidget(
        option(source, sources, "Opt_Source", form_.Opt_Source, i, &SFrm_Option::Opt_Source_Click));
  }
  auto* files = frame(tab, "Frame6", bind_, form_.Frame6);
  auto* filesLayout = new QVBoxLayout(files);
  auto* fileChoices = new QButtonGroup(files);
  for (int i = 0; i < 2; ++i) {
    filesLayout->addWidget(
        option(files, fileChoices, "Opt_Dest", form_.Opt_Dest, i, &SFrm_Option::Opt_Dest_Click));
  }
  layout->addWidget(source);
  layout->addWidget(files);
  layout->addStretch(1);
  return tab;
}

void QtFormHost::show(SFrm_Option& form) {
  OptionDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
