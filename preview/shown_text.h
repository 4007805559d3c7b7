#pragma once

// Where a stretch of the page text stands in the document the browser shows, so that
// the preview can mark or replace it there instead of loading a marked copy of the whole
// page. The copy the browser loads carries an id on a start tag now and then (tagCopy);
// a stretch is then found from the last id before it: the how-manyth text node after that
// element it lies in (text nodes of blanks alone, scripts and styles not counted), the
// node's text as the document holds it (character references read, line ends as LF), and
// where in that text the stretch lies. The browser checks the node's text and refuses an
// edit that finds another, which tells a page the browser reads otherwise than its text
// segments say.
//
//   ShownPlaces places;
//   savePageText(copy, places.tagCopy(page, headEnd, u"ABCDEFG"), charset);
//   auto edit = places.locate(page, find.start, find.length);
//   if (edit) { edit->html = marked; shown = view.editShownText(*edit); }
//   places.replaced(start, before.size(), after.size());   // after a conversion

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/browser_view.h"

namespace yentax {

// The stretch's text as the document holds it; nothing for one that holds markup or a
// character reference this reading does not know.
std::optional<std::u16string> documentText(std::u16string_view raw);

class ShownPlaces {
 public:
  // At most this many text segments lie between a stretch and the last id before it;
  // the browser walks over them.
  static constexpr std::size_t kIdEvery = 32;
  static constexpr std::size_t kFarthest = 4096;

  // The page with ids added for the copy: "<prefix>-<n>" on the first start tag after
  // every kIdEvery segments whose text the browser puts inside that element, where the
  // tag has no id of its own. prefix must not occur in the page.
  std::u16string tagCopy(std::u16string_view page, std::size_t headEnd, std::u16string_view prefix);

  // The stretch [start, start + length) of the page the copy was made from, which must lie
  // inside one text segment; nothing when it does not, no id stands near enough before
  // it, or documentText cannot read its segment. The edit's html is left empty.
  std::optional<ShownTextEdit> locate(std::u16string_view page, std::size_t start,
                                      std::size_t length) const;

  // The page's text has changed: length characters at start are now replacement long.
  void replaced(std::size_t start, std::size_t length, std::size_t replacement);

 private:
  std::u16string prefix_;
  std::vector<std::size_t> tags_;  // the "<" of each tag given an id, id n at tags_[n]
};

}  // namespace yentax
