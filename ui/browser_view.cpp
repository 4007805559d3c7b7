#include "ui/browser_view.h"

namespace yentax {

namespace {

std::u16string_view withoutAnchor(std::u16string_view url) { return url.substr(0, url.find(u'#')); }

}  // namespace

bool readsShownDocumentAgain(std::u16string_view shownUrl, std::u16string_view targetUrl) {
  return !shownUrl.empty() && withoutAnchor(shownUrl) == withoutAnchor(targetUrl);
}

}  // namespace yentax
