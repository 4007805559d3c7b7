#pragma once

// What the main window hands the preview window: a fresh working copy of one page, where
// the page came from, where it is to be saved, and the run's working folders.
//
//   PreviewRequest request{.WorkingCopyPath = copy, .SourcePath = page, ...};
//   SFrm_Disp preview(settings, ui, forms, request);
//   forms.show(preview);

#include <optional>
#include <string>

#include "docio/temp_folders.h"
#include "engine/rerate.h"

namespace yentax {

struct PreviewRequest {
  std::string WorkingCopyPath;  // the copy in the first working folder
  std::u16string SourcePath;    // the page itself; conversions are logged under it
  std::u16string PreviewSourceFolder;
  std::u16string PreviewSaveFolder;
  bool PreviewTextMode = false;  // the file is not an HTML page
  // The working folders this run created: the first holds the working copy, the second
  // is the preview's own, the third is unused here.
  yentax::TempFolders TempFolders;
  // The window's last run was this rate change: the preview steps through the amounts
  // it moved rather than those a conversion would convert.
  std::optional<RerateMove> RateChange;
};

}  // namespace yentax
