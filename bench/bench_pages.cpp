// Whole pages through the per-file conversion (read, detect, decode, convert, log, encode,
// write) and through the passes alone, reported in MB/s of the page's bytes.
//
// The price list: a Shift_JIS page of about 13 MB with an amount "N円" in every row,
// in the default DetectionMode and in 0 and 2; the same rows without amounts; and pages
// built to defeat a backward look, at two sizes each so that growth faster than the page
// shows as falling MB/s. bench/reference_figures.sh measures the whole program on the
// same kind of page beside Perl, iconv and cp.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "docio/log_file.h"
#include "docio/page_conversion.h"
#include "docio/page_delivery.h"
#include "docio/page_file.h"
#include "engine/conversion_passes.h"

namespace {

using yentax::ConversionSettings;

constexpr std::size_t kPriceListBytes = 13u << 20;

// A row of a shop's price list, about 76 bytes in Shift_JIS; with an amount unless bare.
std::u16string priceRow(std::uint32_t i, bool bare) {
  const std::uint32_t amount = 20 + (i * 7919u) % 99980u;
  std::u16string number = yentax::utf8ToUtf16(std::to_string(amount));
  if (number.size() > 3) number.insert(number.size() - 3, u",");
  const std::u16string price = bare ? u"お問い合わせ" : number + u"円";
  return u"<tr><td>商品" + yentax::utf8ToUtf16(std::to_string(i % 1000)) + u" 在庫あり</td><td>" +
         price + u"</td><td>送料別</td></tr>\r\n";
}

std::string priceList(bool bare) {
  std::u16string page =
      u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
      u"charset=Shift_JIS\"></head><body><table>\r\n";
  std::string bytes;
  for (std::uint32_t i = 0; bytes.size() < kPriceListBytes; ++i) {
    page += priceRow(i, bare);
    if (page.size() > 4096) {
      yentax::appendCp932(bytes, page);
      page.clear();
    }
  }
  yentax::appendCp932(bytes, page + u"</table></body></html>\r\n");
  return bytes;
}

// A folder of its own for the run's files.
const std::string& scratchFolder() {
  static const std::string folder = [] {
    auto pattern = (std::filesystem::temp_directory_path() / "yentax-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return std::string("/nonexistent");
    return pattern;
  }();
  return folder;
}

struct Cleanup {
  ~Cleanup() {
    std::error_code error;
    std::filesystem::remove_all(scratchFolder(), error);
  }
} cleanup;

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string& pageBytes(bool bare) {
  static const std::string withAmounts = priceList(false);
  static const std::string withoutAmounts = priceList(true);
  return bare ? withoutAmounts : withAmounts;
}

// A fresh copy of the page, and no log yet.
std::string freshPage(const std::string& source) {
  const std::string page = scratchFolder() + "/page.htm";
  writeFile(page, source);
  std::filesystem::remove(scratchFolder() + "/run.LOG");
  return page;
}

// Converts the page file as a batch run would, logging into the run's one log.
void convertFile(benchmark::State& state, bool bare, std::int32_t mode) {
  const std::string& source = pageBytes(bare);
  ConversionSettings settings;
  settings.DetectionMode = mode;
  const std::string log = scratchFolder() + "/run.LOG";
  for (auto _ : state) {
    state.PauseTiming();
    const std::string page = freshPage(source);
    state.ResumeTiming();
    yentax::PageRead read = yentax::loadPageFile(page, yentax::PageDecoding::kByConversion);
    yentax::ConversionContext context;
    context.CurrentSourcePath = u"/shop/page.htm";
    context.logging = true;
    const yentax::PageConversion converted =
        yentax::convertPageBytes(std::move(read.page), settings, context);
    if (!read || !converted ||
        !yentax::deliverPage({.page = page, .folder = scratchFolder()}, converted.bytes) ||
        !yentax::appendToLog(log, converted.log)) {
      state.SkipWithError("failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

void BM_PriceListDefault(benchmark::State& state) { convertFile(state, false, 1); }
void BM_PriceListMode0(benchmark::State& state) { convertFile(state, false, 0); }
void BM_PriceListMode2(benchmark::State& state) { convertFile(state, false, 2); }
void BM_PriceListWithoutAmounts(benchmark::State& state) { convertFile(state, true, 1); }

BENCHMARK(BM_PriceListDefault)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PriceListMode0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PriceListMode2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PriceListWithoutAmounts)->Unit(benchmark::kMillisecond)->UseRealTime();

// Pages that once took time growing faster than their size: many small numbers of one
// segment (DetectionMode 0), 79-digit lines (DetectionMode 0), "&yen;1 " over and over
// (default), blanks between an amount and its "円" (default), and "1,000円 " over and
// over in one segment with converted amounts skipped, as convert runs.
std::u16string pathologicalPage(std::int64_t kind, std::size_t size) {
  std::u16string page = u"<html><body><p>";
  const std::u16string units[] = {u"1 ", std::u16string(79, u'7') + u"\r\n", u"&yen;1 ", u"",
                                  u"1,000円 "};
  if (kind == 3) {
    page += u"1,000";
    page.append(size, u' ');
    page += u"円";
  } else {
    while (page.size() < size) page += units[kind];
  }
  return page + u"</p></body></html>";
}

void BM_Pathological(benchmark::State& state) {
  const std::int64_t kind = state.range(0);
  const auto size = static_cast<std::size_t>(state.range(1));
  const std::u16string page = pathologicalPage(kind, size);
  ConversionSettings settings;
  settings.DetectionMode = kind < 2 ? yentax::kDetectEveryNumber : yentax::kDetectMarkedNumbers;
  settings.SkipConvertedAmounts = kind == 4;
  yentax::ConversionContext context;
  for (auto _ : state) {
    const auto converted = yentax::runConversionPasses(settings, context, page);
    if (!converted) state.SkipWithError("failed");
    benchmark::DoNotOptimize(converted);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

BENCHMARK(BM_Pathological)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1 << 20, 2 << 20}})
    ->ArgNames({"kind", "chars"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
