// Opening the preview on a long price list: the copy, the read, the anchor name, the
// source view's text and the first show, with browsers that load at once. Two sizes, so
// that work growing faster than the page shows as a longer time per megabyte.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/utf8.h"
#include "base/whole_file.h"
#include "bench/no_forms.h"
#include "docio/page_file.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "settings/option_form.h"

namespace {

namespace fs = std::filesystem;

// A Shift_JIS price list of rows lines, each ending in CR LF.
std::string priceList(int rows) {
  std::u16string page = u"<HTML><HEAD><TITLE>価格表</TITLE></HEAD><BODY>\r\n";
  for (int i = 0; i < rows; ++i) {
    page += u"<TABLE><TR><TD>品物 " + yentax::utf8ToUtf16(std::to_string(i)) +
            u"</TD><TD>1,980円</TD></TR></TABLE>\r\n";
  }
  return yentax::encodePageText(page + u"</BODY></HTML>", yentax::CharsetCode::ShiftJis);
}

void BM_OpenPreview(benchmark::State& state) {
  char pattern[] = "/tmp/yentax-bench-XXXXXX";
  const fs::path root = ::mkdtemp(pattern);
  for (const char* folder : {"src", "t0", "t1", "t2", "out"}) fs::create_directories(root / folder);
  const std::string bytes = priceList(static_cast<int>(state.range(0)));
  if (!yentax::replaceWholeFile(root / "src/a.htm", bytes)) state.SkipWithError("no page");
  yentax::ConsoleUi::Options options;
  options.messageStream = nullptr;
  yentax::ConsoleUi ui(options);
  NoForms forms;
  yentax::ConversionSettings settings;
  settings.LogPath.clear();
  yentax::PreviewRequest request;
  request.WorkingCopyPath = (root / "t0/a.htm").string();
  request.SourcePath = yentax::utf8ToUtf16((root / "src/a.htm").string());
  request.PreviewSourceFolder = yentax::utf8ToUtf16((root / "src").string());
  request.PreviewSaveFolder = yentax::utf8ToUtf16((root / "out").string());
  request.TempFolders = {(root / "t0").string(), (root / "t1").string(), (root / "t2").string()};
  yentax::ConsoleBrowserView view;
  for (auto _ : state) {
    fs::copy_file(root / "src/a.htm", root / "t0/a.htm", fs::copy_options::overwrite_existing);
    yentax::SFrm_Disp preview(settings, ui, forms, request);
    preview.attachBrowser(view);
    if (!preview.Form_Load()) state.SkipWithError("the preview did not open");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
  fs::remove_all(root);
}

}  // namespace

BENCHMARK(BM_OpenPreview)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);
