// Every byte string, read as a page in each charset, is written back byte for byte, and
// an ISO-2022-JP page with text added between two characters reads back as that text.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/utf8.h"
#include "docio/iso2022_page.h"
#include "docio/page_file.h"
#include "fuzz/fuzz_input.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yentax;
  FuzzInput input(data, size);
  const std::size_t where = static_cast<std::size_t>(input.choose(256));
  const std::string bytes(input.rest());
  for (const CharsetCode charset :
       {CharsetCode::ShiftJis, CharsetCode::EucJp, CharsetCode::Iso2022Jp, CharsetCode::Utf8}) {
    LoadedPage page;
    page.charset = charset;
    page.text = decodePageText(bytes, charset);
    page.bytes = bytes;
    require(encodePageEdit(page, page.text) == bytes);
    if (charset != CharsetCode::Iso2022Jp &&
        !(charset == CharsetCode::Utf8 && std::string_view(bytes).starts_with("\xEF\xBB\xBF"))) {
      require(encodePageText(page.text, charset) == bytes);
    }
  }
  const Iso2022Page page = decodeIso2022Page(bytes);
  std::u16string text = page.text;
  std::size_t at = text.empty() ? 0 : where % (text.size() + 1);
  while (at > 0 && isCarriedByte(text[at - 1])) --at;
  text.insert(at, u"(税込\\1,100~ｱ)");
  require(decodeIso2022Text(encodeIso2022Edit(bytes, page, text)) == text);
  return 0;
}
