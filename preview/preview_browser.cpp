#include "preview/preview_browser.h"

#include "base/utf16_text.h"

namespace yentax {

PreviewBrowser::PreviewBrowser(UiHost& ui, BrowserView& view, Tick tick)
    : ui_(ui), view_(view), tick_(std::move(tick)) {
  view_.setBeforeNavigate([this](const std::u16string& url) { return allowNavigation(url); });
}

void PreviewBrowser::openFirst(std::u16string_view copyPath, std::u16string_view anchor) {
  // Not waited for: a wait would poll while the browser loads and take its processor; an
  // edit waits for the load itself.
  view_.navigate(copyPath, anchor);
}

void PreviewBrowser::rememberPageUrl(std::u16string_view copyPath, std::u16string_view anchorName) {
  anchorName_ = anchorName;
  PageUrl = view_.locationUrl();
  // The control reports the URL it was sent to, anchor included; the page's own URL is
  // the same without it.
  const auto hash = PageUrl.find(u'#');
  if (hash != std::u16string::npos) PageUrl.resize(hash);
  if (PageUrl.empty()) PageUrl = view_.urlFor(copyPath, u"");
  AnchoredUrl = PageUrl + u"#" + std::u16string(anchorName);
}

void PreviewBrowser::Fnc_WebRefresh(bool autoMove, std::u16string_view copyPath,
                                    std::u16string_view anchor) {
  if (!autoMove) {
    view_.reload();
    Fnc_BusyCheck();
    return;
  }
  view_.navigate(copyPath, anchor);
  Fnc_BusyCheck();
  if (const auto url = view_.locationUrl(); !url.empty()) AnchoredUrl = url;
}

void PreviewBrowser::Fnc_BusyCheck() {
  ui_.processPendingEvents();
  const std::uint32_t start = tick_();
  while (true) {
    ui_.processPendingEvents();
    if (!view_.busy()) return;
    // Unsigned arithmetic carries a wrapped counter through.
    if (tick_() - start >= kBusyWaitMs) return;
  }
}

bool PreviewBrowser::allowNavigation(const std::u16string& url) {
  if (!FirstNavigationDone) {
    FirstNavigationDone = true;
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

}  // namespace yentax
