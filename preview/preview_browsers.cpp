#include "preview/preview_browsers.h"

#include "base/utf16_text.h"

namespace yentax {

PreviewBrowsers::PreviewBrowsers(UiHost& ui, BrowserView& first, BrowserView& second, Tick tick)
    : ui_(ui), WebB{&first, &second}, tick_(std::move(tick)) {
  for (int i = 0; i < 2; ++i) {
    WebB[i]->setBeforeNavigate(
        [this, i](const std::u16string& url) { return allowNavigation(i, url); });
  }
}

void PreviewBrowsers::openFirst(std::u16string_view copyPath, std::u16string_view anchor) {
  ShownBrowser = 0;
  WebB[0]->navigate(copyPath, anchor);
  Fnc_BusyCheck();
  WebB[0]->bringToFront();
}

void PreviewBrowsers::rememberPageUrl(std::u16string_view copyPath,
                                      std::u16string_view anchorName) {
  anchorName_ = anchorName;
  PageUrl = shown().locationUrl();
  // The control reports the URL it was sent to, anchor included; the page's own URL is
  // the same without it.
  const auto hash = PageUrl.find(u'#');
  if (hash != std::u16string::npos) PageUrl.resize(hash);
  if (PageUrl.empty()) PageUrl = shown().urlFor(copyPath, u"");
  AnchoredUrl = PageUrl + u"#" + std::u16string(anchorName);
}

void PreviewBrowsers::Fnc_WebRefresh(bool autoMove, std::u16string_view copyPath,
                                     std::u16string_view anchor) {
  if (!autoMove) {
    shown().reload();
    Fnc_BusyCheck();
    return;
  }
  ShownBrowser = 1 - ShownBrowser;
  shown().navigate(copyPath, FirstNavigationDone[0] ? anchor : u"");
  ui_.processPendingEvents();
  Fnc_BusyCheck();
  shown().bringToFront();
  if (const auto url = shown().locationUrl(); !url.empty()) AnchoredUrl = url;
}

void PreviewBrowsers::Fnc_BusyCheck() {
  ui_.processPendingEvents();
  const std::uint32_t start = tick_();
  while (true) {
    ui_.processPendingEvents();
    if (!shown().busy()) return;
    // Unsigned arithmetic carries a wrapped counter through.
    if (tick_() - start >= kBusyWaitMs) return;
  }
}

bool PreviewBrowsers::allowNavigation(int index, const std::u16string& url) {
  if (!FirstNavigationDone[index]) {
    FirstNavigationDone[index] = true;
    return true;
  }
  const auto upper = toUpperAscii(url);
  if (upper.empty()) return true;
  if (PageUrl.empty() && AnchoredUrl.empty()) return true;
  const std::u16string suffix = u"#" + anchorName_;
  if (AnchoredUrl.empty()) AnchoredUrl = PageUrl + suffix;
  if (PageUrl.empty() && AnchoredUrl.size() >= suffix.size()) {
    PageUrl = AnchoredUrl.substr(0, AnchoredUrl.size() - suffix.size());
  }
  return upper == toUpperAscii(PageUrl) || upper == toUpperAscii(AnchoredUrl);
}

void PreviewBrowsers::setVisible(bool visible) {
  for (auto* view : WebB) view->setVisible(visible);
}

}  // namespace yentax
