#pragma once

// The preview's browser control: the page's working copy is loaded into it once, and
// from then on the found amount's highlight and each converted amount go into the shown
// document as edits (BrowserView::editShownText), so that a step never loads the page
// again; a marked copy is loaded only where an edit cannot say where it goes (the table
// marks, a page read otherwise than its text segments say). Also the bounded wait for a
// load and the navigation guard that keeps the page from leaving its working copy (a
// clicked link does nothing).
//
//   PreviewBrowser browser(ui, view);
//   browser.openFirst(copyPath, u"ABCDEFG");
//   browser.Fnc_WebRefresh(autoMove, copyPath, anchor);   // the copy, read anew

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/browser_view.h"
#include "ui/ui_host.h"

namespace yentax {

class PreviewBrowser {
 public:
  using Tick = std::function<std::uint32_t()>;
  static constexpr std::uint32_t kBusyWaitMs = 1001;

  PreviewBrowser(UiHost& ui, BrowserView& view, Tick tick);

  BrowserView& view() { return view_; }

  // Starts the first load, to the page and a name that is not yet known to be absent.
  void openFirst(std::u16string_view copyPath, std::u16string_view anchor);
  // Records the URLs the guard lets through, as the control reports them.
  void rememberPageUrl(std::u16string_view copyPath, std::u16string_view anchorName);

  // Shows the copy again, read anew: with autoMove scrolled to the anchor, without where
  // it was.
  void Fnc_WebRefresh(bool autoMove, std::u16string_view copyPath, std::u16string_view anchor);
  // Waits while the control is busy, for at most kBusyWaitMs.
  void Fnc_BusyCheck();

  // The before-navigate decision.
  bool allowNavigation(const std::u16string& url);

  std::u16string PageUrl;
  std::u16string AnchoredUrl;
  bool FirstNavigationDone = false;

 private:
  UiHost& ui_;
  BrowserView& view_;
  Tick tick_;
  std::u16string anchorName_;
};

}  // namespace yentax
