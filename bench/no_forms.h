#pragma once

// The preview's dialogs answered with nothing, for benchmarks that open the preview
// without a window.

#include "preview/preview_form.h"
#include "settings/option_form.h"

struct NoForms : yentax::FormHost {
  void show(yentax::SFrm_ChangeNumber& /*form*/) override {}
  void show(yentax::SFrm_ChangeNumber2& /*form*/) override {}
  void show(yentax::SFrm_Option& /*form*/) override {}
};
