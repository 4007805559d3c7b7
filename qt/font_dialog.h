#pragma once

// FontDialog: the Qt view of SFrm_HTMLFont. Name and size lists with their typing
// boxes, the four styles, the colour box with its swatch and the colour dialog, and the
// preview label drawn in the chosen face, point size, styles and colour.
//
//   SFrm_HTMLFont form(ui, BuildFontList(ui), settings.InsertFont);
//   FontDialog(form, ui).exec();

#include "qt/dialog_parts.h"
#include "settings/font_form.h"

namespace yentax {

class FontDialog : public FormDialog {
 public:
  FontDialog(SFrm_HTMLFont& form, QtUi& ui, QWidget* parent = nullptr);

 private:
  QWidget* nameAndSize(SFrm_HTMLFont& form);
  QWidget* stylesAndColor(SFrm_HTMLFont& form);
  QWidget* preview(SFrm_HTMLFont& form);
};

}  // namespace yentax
