#pragma once

// BrowserView: the preview's browser control, owned by the preview window while it is
// open. It shows local files, may be asked to reload, reports whether it is still
// loading and which URL it shows, lets its owner refuse a navigation before it happens
// (a link clicked in the page), and edits the shown document in place, so that a mark
// moves or an amount changes without loading the page again.
//
//   view.setBeforeNavigate([&](const std::u16string& url) { return url == view.urlFor(page, u"");
//   }); view.navigate(page, u"amount");   // shows page#amount while (view.busy())
//   ui.processPendingEvents();

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace yentax {

// Whether a navigation to targetUrl only reads the shown document again: the same URL
// without its anchor. Every browser does such a navigation as a reload followed by a
// scroll to the anchor (the preview has rewritten the file; setting the URL alone would
// only scroll), and neither a reload nor such a re-read is put to the before-navigate
// handler, since the page stays the preview's own.
bool readsShownDocumentAgain(std::u16string_view shownUrl, std::u16string_view targetUrl);

// An edit of the shown document. Its place: the text node index (from 0) after the
// element with the id from, counting text nodes outside scripts and styles that hold
// more than blanks; the node must read nodeText, and the edit covers length characters
// from offset. A mark (keep false) shows the stretch highlighted as html marks it and is
// taken back before the next edit; a kept edit puts html in the stretch's place. An
// empty from only takes back the mark.
struct ShownTextEdit {
  std::u16string from;
  std::size_t index = 0;
  std::u16string nodeText;
  std::size_t offset = 0;
  std::size_t length = 0;
  std::u16string html;
  bool keep = false;
  bool scroll = false;  // brings the mark into view
};

class BrowserView {
 public:
  // Sees every navigation before it happens, with the target URL as the browser spells
  // it; returning false cancels the navigation.
  using BeforeNavigate = std::function<bool(const std::u16string& url)>;

  virtual ~BrowserView() = default;

  // anchor "" navigates to the file alone, otherwise to file#anchor.
  virtual void navigate(std::u16string_view path, std::u16string_view anchor) = 0;
  // Shows the current document again, read anew, keeping the scroll position.
  virtual void reload() = 0;
  virtual bool busy() const = 0;
  // The URL of the shown document, "" before the first navigation.
  virtual std::u16string locationUrl() const = 0;
  // The URL of a local path (and anchor) spelled as this browser reports it, so that a
  // navigation guard compares like with like.
  virtual std::u16string urlFor(std::u16string_view path, std::u16string_view anchor) const = 0;
  virtual void setVisible(bool visible) = 0;
  virtual void setBeforeNavigate(BeforeNavigate handler) = 0;
  // Waits for a load under way first. False when the node is not found or reads other
  // than nodeText, or the edit could not be made; the document is left as it was then.
  virtual bool editShownText(const ShownTextEdit& edit) = 0;
};

}  // namespace yentax
