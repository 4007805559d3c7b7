#include <benchmark/benchmark.h>

#include <string>

#include "engine/page_text.h"
#include "preview/table/table_state.h"

namespace {

// A long price list of count tables (a multiple of five): in every group of five, one
// table holds a small table in one of its cells.
yentax::PageText pageWithTables(int count) {
  std::u16string page = u"<html><body>\r\n";
  for (int group = 0; group < count / 5; ++group) {
    for (int table = 0; table < 4; ++table) {
      page += u"<table border=1>\r\n<tr><td>品名</td><td>1,980円</td></tr>\r\n<tr><td>";
      if (table == 3) page += u"<TABLE><TR><TD>内訳</TD></TR></TABLE>";
      page += u"￥500</td><td>送料</td></tr>\r\n</table>\r\n<p>説明文</p>\r\n";
    }
  }
  return yentax::PageText(page + u"</body></html>");
}

void BM_LocateTables(benchmark::State& state) {
  const yentax::PageText page = pageWithTables(static_cast<int>(state.range(0)));
  yentax::TableState tables;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tables.LocateTables(page));
  }
  if (tables.TableCount() != state.range(0)) state.SkipWithError("tables were not all found");
}
BENCHMARK(BM_LocateTables)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
