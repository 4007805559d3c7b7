#include "preview/table/table_locator.h"

#include <algorithm>

namespace yentax {

namespace {

std::vector<std::size_t> findAll(std::u16string_view text, std::u16string_view pattern) {
  std::vector<std::size_t> hits;
  for (std::size_t hit = text.find(pattern); hit != std::u16string_view::npos;
       hit = text.find(pattern, hit + 1)) {
    hits.push_back(hit);
  }
  return hits;
}

}  // namespace

std::optional<TableBounds> locateTableBounds(std::u16string_view upper) {
  std::vector<std::size_t> starts = findAll(upper, u"<TABLE");
  std::vector<std::size_t> ends = findAll(upper, u"</TABLE>");
  for (std::size_t& end : ends) end += 8;
  const std::size_t count = std::min(starts.size(), ends.size());
  starts.resize(count);
  ends.resize(count);

  // Both lists are already in text order, so walking them together from the back pairs
  // each start with the nearest end after it that no inner table has taken. An end that
  // meets a start at the same position belongs to the table before it.
  std::vector<std::size_t> pairedEnds(count);
  std::vector<std::size_t> openEnds;
  std::size_t s = count;
  std::size_t e = count;
  while (s > 0) {
    if (e > 0 && ends[e - 1] > starts[s - 1]) {
      openEnds.push_back(ends[--e]);
      continue;
    }
    if (openEnds.empty()) return std::nullopt;
    pairedEnds[--s] = openEnds.back();
    openEnds.pop_back();
  }
  return TableBounds{std::move(starts), std::move(pairedEnds)};
}

}  // namespace yentax
