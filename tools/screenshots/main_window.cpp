#include "app/main_window.h"

#include <filesystem>
#include <fstream>

#include "app/about_box.h"
#include "base/utf8.h"
#include "qt/about_view.h"
#include "qt/main_window_view.h"
#include "qt/qt_form_host.h"
#include "tools/screenshots/screenshots.h"

namespace yentax {
namespace {

// A shop folder with a few pages and a notes file, and the main window over it.
void shootMainWindow(ShotContext& shot) {
  namespace fs = std::filesystem;
  const fs::path root = shot.scratch();
  for (const auto* name : {"index.htm", "sale.html", "new_items.htm", "prices.txt"}) {
    fs::create_directories(root / "shop");
    std::ofstream(root / "shop" / name) << "<p>1,980円</p>";
  }
  fs::create_directories(root / "out");
  fs::create_directories(root / "prog");

  ConversionSettings settings;
  QtFormHost forms(shot.ui());
  MainWindowSetup setup{(root / "prog").string(),
                        (root / "prog/yentax.INI").string(),
                        (root / "prog/HELP/HELP.HTM").string(),
                        u"yentax",
                        {}};
  MainWindowPorts ports;
  Sfrm_Main form(settings, shot.ui(), forms, setup, std::move(ports));
  form.Form_Load();
  settings.TargetExtensions = u"htm,html,txt";
  settings.SourceFile = utf8ToUtf16((root / "shop/index.htm").string());
  settings.DestinationFolder = utf8ToUtf16((root / "out").string());
  settings.SourceFolder = utf8ToUtf16((root / "shop").string());
  settings.DestinationFolder1 = utf8ToUtf16((root / "out").string());
  settings.FileTabActive = true;
  form.Fnc_SetInitData(false, {});
  form.LoadFileTree(settings.SourceFolder);
  form.state().FirstShowDone = true;

  MainWindowView view(form, shot.ui());
  shot.save(view, "main_window_file", QSize(560, 420));
  form.Tab1.SelectedIndex = Sfrm_Main::kFolderTab;
  form.Tab1_Click();
  for (const std::size_t node : {1, 3}) {
    form.Trv_Files.Nodes[node].Checked = true;
    form.Trv_Files_NodeCheck(node);
  }
  form.Trv_Files.SelectedItem = 1;
  form.Lbl_Msg.Caption = u"index.htm";
  // As in the middle of a run over the two ticked files.
  form.Prg_Files = {{.Enabled = true, .Visible = true}, 1, 2};
  form.Cmd_Change.Caption = u"中止(C)";
  view.bindings().refreshFromModel();
  shot.save(view, "main_window_folder", QSize(560, 460));
  view.hide();
  form.Form_Unload();

  SFrm_About about(shot.ui());
  AboutView box(about, shot.ui());
  shot.save(box, "about");
}

const bool registered = registerShots("main_window", shootMainWindow);

}  // namespace
}  // namespace yentax
