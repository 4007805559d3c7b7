// The preview's work that reads the whole page, on price lists of 1 and 2 MB: a step to
// the next amount from the middle of the page (the search and where the highlight goes
// in the shown document) and the table tab's scan as it opens. Work that grows faster
// than the page shows as more than twice the time on twice the page
// (bench/preview_floor.sh prints the ratio). Then steps one after the other, forward and
// back, on pages up to 13 MB: one iteration is one step, whose time should not grow with
// the page.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include "base/utf8.h"
#include "base/whole_file.h"
#include "bench/no_forms.h"
#include "docio/page_file.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "settings/option_form.h"

namespace {

namespace fs = std::filesystem;

// The price list of bench/preview_floor.sh: one table, a row per item, about bytes long.
std::string priceList(std::size_t bytes) {
  std::u16string page =
      u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
      u"charset=Shift_JIS\"></head><body><table>\r\n";
  for (int i = 0; page.size() * 2 < bytes; ++i) {
    const int amount = 20 + (i * 7919) % 99980;
    std::string price = std::to_string(amount);
    if (price.size() > 3) price.insert(price.size() - 3, ",");
    page += u"<tr><td>商品" + yentax::utf8ToUtf16(std::to_string(i % 1000)) +
            u" 在庫あり</td><td>" + yentax::utf8ToUtf16(price) + u"円</td><td>送料別</td></tr>\r\n";
  }
  return yentax::encodePageText(page + u"</table></body></html>\r\n",
                                yentax::CharsetCode::ShiftJis);
}

// A preview opened on a price list, with browsers that load at once.
class OpenPreview {
 public:
  explicit OpenPreview(std::size_t bytes) {
    char pattern[] = "/tmp/yentax-bench-XXXXXX";
    root_ = ::mkdtemp(pattern);
    for (const char* folder : {"src", "t0", "t1", "t2", "out"}) {
      fs::create_directories(root_ / folder);
    }
    const std::string page = priceList(bytes);
    std::ignore = yentax::replaceWholeFile(root_ / "src/a.htm", page);
    std::ignore = yentax::replaceWholeFile(root_ / "t0/a.htm", page);
    options_.messageStream = nullptr;
    ui_ = std::make_unique<yentax::ConsoleUi>(options_);
    settings_.LogPath.clear();
    yentax::PreviewRequest request;
    request.WorkingCopyPath = (root_ / "t0/a.htm").string();
    request.SourcePath = yentax::utf8ToUtf16((root_ / "src/a.htm").string());
    request.PreviewSourceFolder = yentax::utf8ToUtf16((root_ / "src").string());
    request.PreviewSaveFolder = yentax::utf8ToUtf16((root_ / "out").string());
    request.TempFolders = {(root_ / "t0").string(), (root_ / "t1").string(),
                           (root_ / "t2").string()};
    form_ = std::make_unique<yentax::SFrm_Disp>(settings_, *ui_, forms_, request);
    form_->attachBrowser(view_);
    opened_ = form_->Form_Load();
  }
  ~OpenPreview() {
    form_.reset();
    fs::remove_all(root_);
  }
  OpenPreview(const OpenPreview&) = delete;
  OpenPreview& operator=(const OpenPreview&) = delete;

  bool opened() const { return opened_; }
  yentax::SFrm_Disp& form() { return *form_; }

 private:
  fs::path root_;
  yentax::ConsoleUi::Options options_;
  std::unique_ptr<yentax::ConsoleUi> ui_;
  NoForms forms_;
  yentax::ConversionSettings settings_;
  yentax::ConsoleBrowserView view_;
  std::unique_ptr<yentax::SFrm_Disp> form_;
  bool opened_ = false;
};

void BM_StepToNextAmount(benchmark::State& state) {
  OpenPreview preview(static_cast<std::size_t>(state.range(0)));
  if (!preview.opened()) state.SkipWithError("the preview did not open");
  auto& form = preview.form();
  const auto middle = static_cast<std::int32_t>(form.PreviewText.size() / 2);
  for (auto _ : state) {
    form.AmountStart = middle;
    form.Cmd_Next_Click(1);
  }
}

// Each iteration one step on from the last, starting in the middle of the page and back
// there every thousand steps, so that no step reaches the end of even the smallest page.
void BM_StepOn(benchmark::State& state) {
  OpenPreview preview(static_cast<std::size_t>(state.range(0)));
  if (!preview.opened()) state.SkipWithError("the preview did not open");
  auto& form = preview.form();
  const int next = static_cast<int>(state.range(1));
  const auto middle = static_cast<std::int32_t>(form.PreviewText.size() / 2);
  int steps = 0;
  for (auto _ : state) {
    if (steps++ % 1000 == 0) form.AmountStart = middle;
    form.Cmd_Next_Click(next);
  }
}

void BM_OpenTableTab(benchmark::State& state) {
  OpenPreview preview(static_cast<std::size_t>(state.range(0)));
  if (!preview.opened()) state.SkipWithError("the preview did not open");
  auto& form = preview.form();
  form.Tab1.SelectedIndex = yentax::SFrm_Disp::kTableTab;
  for (auto _ : state) form.Tab1_Click();
}

}  // namespace

BENCHMARK(BM_StepToNextAmount)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
// The second argument is the button: 1 steps forward, 0 back.
BENCHMARK(BM_StepOn)
    ->ArgsProduct({{1 << 20, 2 << 20, 13 << 20}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenTableTab)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
