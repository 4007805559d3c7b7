#include "qt/font_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/qt_form_host.h"

namespace yentax {

namespace {

// A typed drop-down: the entries, the text shown and the entry picked.
void bindColorBox(ViewBindings& bind, QComboBox* box, EditableComboBox& control) {
  bind.custom(
      [box, &control] {
        box->setEnabled(control.Enabled);
        if (box->count() != static_cast<int>(control.Items.size())) {
          box->clear();
          for (const auto& item : control.Items) box->addItem(toQString(item));
        }
        const auto text = toQString(control.Text);
        if (box->currentText() != text) box->setEditText(text);
      },
      [box, &control] {
        control.Text = fromQString(box->currentText());
        control.ListIndex = box->currentIndex();
      });
}

// The box's selection, which the form sets when the box gets the focus or an entry is
// picked; bound after the box's text, which moves the cursor when it is set.
void bindSelection(ViewBindings& bind, QLineEdit* edit, SelectingTextBox& control) {
  bind.custom(
      [edit, &control] {
        const auto size = static_cast<int>(edit->text().size());
        const int start = std::clamp(control.SelStart, 0, size);
        const int length = std::clamp(control.SelLength, 0, size - start);
        if (length == 0) {
          if (edit->hasSelectedText() || edit->cursorPosition() != start) {
            edit->setCursorPosition(start);
          }
        } else if (edit->selectionStart() != start || edit->selectionLength() != length) {
          edit->setSelection(start, length);
        }
      },
      [edit, &control] {
        control.SelStart =
            edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        control.SelLength = edit->selectionLength();
      });
}

void paintSwatch(QFrame* swatch, const ColorBox& control) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, colorFromValue(control.BackColor));
  swatch->setPalette(palette);
}

void drawPreview(QLabel* label, const FontLabel& control) {
  QFont font = QApplication::font();
  if (!control.FontName.empty()) font.setFamily(toQString(control.FontName));
  font.setPointSize(control.FontSize);
  font.setBold(control.Bold);
  font.setItalic(control.Italic);
  font.setUnderline(control.Underline);
  font.setStrikeOut(control.StrikeThrough);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colorFromValue(control.ForeColor));
  label->setPalette(palette);
  label->setText(toQString(control.Caption));
}

QPushButton* button(QWidget* parent, const char* name, ViewBindings& bind,
                    const CaptionControl& control, std::function<void()> onClick) {
  auto* widget = make<QPushButton>(parent, name);
  bind.clicked(widget, control, std::move(onClick));
  return widget;
}

}  // namespace

FontDialog::FontDialog(SFrm_HTMLFont& form, QtUi& ui, QWidget* parent)
    : FormDialog(ui, form.Caption, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(nameAndSize(form), 1);
  layout->addWidget(stylesAndColor(form));
  layout->addWidget(preview(form));

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = button(this, "Cmd_OK", bind_, form.Cmd_OK, [&form] { form.Cmd_OK_Click(); });
  auto* cancel =
      button(this, "Cmd_Cancel", bind_, form.Cmd_Cancel, [&form] { form.Cmd_Cancel_Click(); });
  ok->setDefault(true);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  onCancel = [&form] { form.Cmd_Cancel_Click(); };
  bind_.closeWhen(this, [&form] { return form.Closed; });
  bind_.refreshFromModel();
}

QWidget* FontDialog::nameAndSize(SFrm_HTMLFont& form) {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* nameLabel = make<QLabel>(area, "Lbl_Name");
  auto* name = make<QLineEdit>(area, "Txt_Name");
  auto* names = make<QListWidget>(area, "Lst_Name");
  auto* sizeLabel = make<QLabel>(area, "Lbl_Size");
  auto* size = make<QLineEdit>(area, "Txt_Size");
  auto* sizes = make<QListWidget>(area, "Lst_Size");
  nameLabel->setBuddy(name);
  sizeLabel->setBuddy(size);
  names->setMinimumSize(240, 160);
  sizes->setMinimumWidth(140);
  bind_.label(nameLabel, form.Lbl_Name);
  bind_.label(sizeLabel, form.Lbl_Size);
  bind_.text(name, form.Txt_Name, [&form] { form.Txt_Name_Change(); });
  bind_.text(size, form.Txt_Size, [&form] { form.Txt_Size_Change(); });
  bindSelection(bind_, name, form.Txt_Name);
  bindSelection(bind_, size, form.Txt_Size);
  whenFocused(name, [this, &form] { bind_.handle([&form] { form.Txt_Name_GotFocus(); }); });
  whenFocused(size, [this, &form] { bind_.handle([&form] { form.Txt_Size_GotFocus(); }); });
  bind_.list(names, form.Lst_Name, [&form] { form.Lst_Name_Click(); });
  bind_.list(sizes, form.Lst_Size, [&form] { form.Lst_Size_Click(); });
  bind_.accessibleName(names, form.Lbl_Name);
  bind_.accessibleName(sizes, form.Lbl_Size);
  grid->addWidget(nameLabel, 0, 0);
  grid->addWidget(name, 1, 0);
  grid->addWidget(names, 2, 0);
  grid->addWidget(sizeLabel, 0, 1);
  grid->addWidget(size, 1, 1);
  grid->addWidget(sizes, 2, 1);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 1);
  return area;
}

QWidget* FontDialog::stylesAndColor(SFrm_HTMLFont& form) {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  const std::pair<const char*, CheckBox*> styles[] = {
      {"Chk_Bold", &form.Chk_Bold},
      {"Chk_Italic", &form.Chk_Italic},
      {"Chk_Underline", &form.Chk_Underline},
      {"Chk_StrikeThrough", &form.Chk_StrikeThrough},
  };
  int column = 0;
  for (const auto& [name, control] : styles) {
    auto* box = make<QCheckBox>(area, name);
    bind_.check(box, *control, [&form] { form.Chk_Click(); });
    grid->addWidget(box, 0, column++);
  }
  auto* useColor = make<QCheckBox>(area, "Chk_Color");
  bind_.check(useColor, form.Chk_Color, [&form] { form.Chk_Color_Click(); });
  auto* color = make<QComboBox>(area, "Cmb_Color");
  color->setEditable(true);
  color->setInsertPolicy(QComboBox::NoInsert);
  bindColorBox(bind_, color, form.Cmb_Color);
  bind_.accessibleName(color, form.Chk_Color);
  QObject::connect(color, &QComboBox::activated, color,
                   [this, &form](int) { bind_.handle([&form] { form.Cmb_Color_Click(); }); });
  QObject::connect(color->lineEdit(), &QLineEdit::textEdited, color,
                   [this, &form] { bind_.handle([&form] { form.Cmb_Color_Change(); }); });
  auto* swatch = make<QFrame>(area, "Pic_Color");
  swatch->setFrameShape(QFrame::Box);
  swatch->setAutoFillBackground(true);
  swatch->setFixedSize(40, 22);
  bind_.custom([swatch, &form] { paintSwatch(swatch, form.Pic_Color); });
  auto* pick = button(area, "Cmd_Ref_Color", bind_, form.Cmd_Ref_Color,
                      [&form] { form.Cmd_Ref_Color_Click(); });
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(useColor);
  colorRow->addWidget(color, 1);
  colorRow->addWidget(swatch);
  colorRow->addWidget(pick);
  grid->addLayout(colorRow, 1, 0, 1, 4);
  return area;
}

QWidget* FontDialog::preview(SFrm_HTMLFont& form) {
  auto* frame = make<QFrame>(this, "Pic_Preview");
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setMinimumHeight(80);
  frame->setAutoFillBackground(true);
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, Qt::white);
  frame->setPalette(palette);
  auto* layout = new QVBoxLayout(frame);
  auto* label = make<QLabel>(frame, "Lbl_Preview");
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  layout->addWidget(label);
  bind_.custom([label, &form] { drawPreview(label, form.Lbl_Preview); });
  return frame;
}

void QtFormHost::show(SFrm_HTMLFont& form) {
  FontDialog dialog(form, ui_, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace yentax
