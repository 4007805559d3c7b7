#pragma once

// The preview's two browser controls, used in turn so that a refresh never shows a
// blank page: the hidden one loads the page and is then brought to the front. Also the
// bounded wait for a load and the navigation guard that keeps the page from leaving
// its working copy (a clicked link does nothing).
//
//   PreviewBrowsers browsers(ui, first, second);
//   browsers.openFirst(copyPath);               // WebB(0), "#ABCDEFG"
//   browsers.Fnc_WebRefresh(autoMove, copyPath, anchor);

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/browser_view.h"
#include "ui/ui_host.h"

namespace yentax {

class PreviewBrowsers {
 public:
  using Tick = std::function<std::uint32_t()>;
  static constexpr std::uint32_t kBusyWaitMs = 1001;

  PreviewBrowsers(UiHost& ui, BrowserView& first, BrowserView& second, Tick tick);

  BrowserView& shown() { return *WebB[ShownBrowser]; }

  // The first load of WebB(0), to the page and a name that is not yet known to be absent.
  void openFirst(std::u16string_view copyPath, std::u16string_view anchor);
  // Records the URLs the guard lets through, as the shown control reports them.
  void rememberPageUrl(std::u16string_view copyPath, std::u16string_view anchorName);

  // Shows the copy again: with autoMove in the other control, scrolled to the anchor;
  // without, the shown control reloads in place.
  void Fnc_WebRefresh(bool autoMove, std::u16string_view copyPath, std::u16string_view anchor);
  // Waits while the shown control is busy, for at most kBusyWaitMs.
  void Fnc_BusyCheck();

  // The before-navigate decision for control index.
  bool allowNavigation(int index, const std::u16string& url);

  void setVisible(bool visible);

  int ShownBrowser = 0;
  std::u16string PageUrl;
  std::u16string AnchoredUrl;
  std::array<bool, 2> FirstNavigationDone{false, false};

 private:
  UiHost& ui_;
  std::array<BrowserView*, 2> WebB;
  Tick tick_;
  std::u16string anchorName_;
};

}  // namespace yentax
