#include <benchmark/benchmark.h>

#include <string>

#include "engine/conversion_passes.h"

namespace {

// A price list of about `size` characters (twice as many bytes in UTF-16) with one amount
// in every 100 characters.
std::u16string pageOfSize(std::size_t size) {
  std::u16string page = u"<html><body>\r\n";
  for (int i = 0; page.size() < size; ++i) {
    std::u16string line = u"<tr><td>商品番号なし</td><td>" +
                          std::u16string(1, static_cast<char16_t>(u'1' + i % 9)) +
                          u",980円</td><td>在庫あり</td><td>";
    line.append(100 - 6 - line.size(), u'あ');
    page += line + u"</td></tr>";
  }
  return page + u"</body></html>";
}

void convertPages(benchmark::State& state, bool textSegments) {
  const std::u16string page = pageOfSize(static_cast<std::size_t>(state.range(0)));
  yentax::ConversionSettings settings;
  settings.DetectionMode = textSegments ? yentax::kDetectEveryNumber : yentax::kDetectMarkedNumbers;
  yentax::ConversionContext context;
  for (auto _ : state) {
    const auto converted =
        textSegments
            ? yentax::ConvertTextSegments(settings, context, page)
            : yentax::ConvertMarkedAmounts(settings, context, yentax::kYenSuffixMarkerIndex, page);
    if (!converted || converted->size() <= page.size()) state.SkipWithError("nothing converted");
    benchmark::DoNotOptimize(converted);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(page.size() * sizeof(char16_t)));
}

void BM_ConvertTextSegments(benchmark::State& state) { convertPages(state, -1); }
void BM_ConvertMarkedAmounts(benchmark::State& state) {
  convertPages(state, yentax::kYenSuffixMarkerIndex);
}
void BM_ConvertAbsentMarker(benchmark::State& state) {
  convertPages(state, yentax::kBackslashMarkerIndex);
}

BENCHMARK(BM_ConvertTextSegments)
    ->Arg(50 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertMarkedAmounts)
    ->Arg(50 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertAbsentMarker)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
