#pragma once

// BrowserView: one of the preview's browser controls, owned by the preview window while
// it is open. It shows local files, may be asked to reload, reports whether it is still
// loading and which URL it shows, and lets its owner refuse a navigation before it
// happens (a link clicked in the page).
//
//   view.setBeforeNavigate([&](const std::u16string& url) { return url == view.urlFor(page, u"");
//   }); view.navigate(page, u"amount");   // shows page#amount while (view.busy())
//   ui.processPendingEvents();

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
  virtual void bringToFront() = 0;
  virtual void setBeforeNavigate(BeforeNavigate handler) = 0;
};

}  // namespace yentax
