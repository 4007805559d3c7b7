#include "docio/charset_detect.h"

#include <gtest/gtest.h>

#include "base/utf16_text.h"
#include "docio/meta_charset.h"

namespace yentax {
namespace {

TEST(MetaCharsetTest, CollectsTidiedTagsFromUpperCasedText) {
  struct Case {
    std::u16string page;
    std::vector<std::u16string> tags;
  };
  const Case cases[] = {
      {u"<html><meta charset=\"utf-8\"><title>x</title>", {u"<META CHARSET=\"UTF-8\">"}},
      {u"<meta http-equiv=Content-Type content = \"text/html;\r\n charset  =  euc-jp\">",
       {u"<META HTTP-EQUIV=CONTENT-TYPE CONTENT=\"TEXT/HTML; CHARSET=EUC-JP\">"}},
      {u"<meta a=1>\n<META b\n=\n2><meta c=3", {u"<META A=1>", u"<META B=2>"}},
      {u"<metadata charset=utf-8><meta>", {}},
      {u"<meta name=x", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindMetaCharset(toUpperAscii(c.page)), c.tags);
  }
}

TEST(DetectCharsetTest, ReadsTheFirstDeclaredValueInAnyCase) {
  struct Case {
    std::u16string page;
    CharsetCode code;
  };
  const Case cases[] = {
      {u"<meta charset=Shift_Jis>", CharsetCode::ShiftJis},
      {u"<meta content=\"text/html; charset=shift-JIS\">", CharsetCode::ShiftJis},
      {u"<meta charset=\"x-sjis\" />", CharsetCode::ShiftJis},
      {u"<meta charset='EUC_jp'>", CharsetCode::EucJp},
      {u"<META CHARSET=X-EUC-JP>", CharsetCode::EucJp},
      {u"<meta charset=iso-2022-jp>", CharsetCode::Iso2022Jp},
      {u"<meta name=a><meta charset=\"utf_8\">", CharsetCode::Utf8},
      {u"<meta content=\"text/html; charset=euc-jp\" lang=\"ja\">", CharsetCode::Unknown},
      {u"<meta charset=windows-31j><meta charset=utf-8>", CharsetCode::Unknown},
      {u"<meta name=charset>", CharsetCode::Unknown},
      {u"<p>charset=utf-8</p>", CharsetCode::Unknown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DetectCharset(FindMetaCharset(toUpperAscii(c.page))), c.code)
        << std::string(c.page.begin(), c.page.end());
  }
}

TEST(DetectCharsetTest, ADeclarationOrAByteOrderMarkDecidesElseUtf8BytesElseShiftJis) {
  struct Case {
    std::string bytes;
    CharsetCode code;
    CharsetReason reason;
  };
  const Case cases[] = {
      {"<HTML><Meta Charset=Shift_Jis>", CharsetCode::ShiftJis, CharsetReason::kDeclared},
      {"\xC9\xBD <meta http-equiv=\"Content-Type\" content=\"text/html; charset = euc_jp\">",
       CharsetCode::EucJp, CharsetReason::kDeclared},
      {"\xE0<meta charset=\"iso-2022-jp\">", CharsetCode::Iso2022Jp, CharsetReason::kDeclared},
      // UTF-8 text the server names in its header: the page itself declares nothing
      {"<p>\xE4\xBE\xA1\xE6\xA0\xBC \\1,000 \xE3\x81\xA7\xE3\x81\x99</p>", CharsetCode::Utf8,
       CharsetReason::kUtf8Bytes},
      {"\xE3\x81\x82<meta\r\ncharset=utf-8>", CharsetCode::Utf8, CharsetReason::kUtf8Bytes},
      {"<meta charset=windows-31j><p>\xE5\x86\x86</p>", CharsetCode::Utf8,
       CharsetReason::kUtf8Bytes},
      // a byte-order mark outranks what the page declares
      {"\xEF\xBB\xBF<meta charset=shift_jis><p>1</p>", CharsetCode::Utf8,
       CharsetReason::kByteOrderMark},
      // Shift_JIS bytes are not UTF-8; an overlong form or a lone lead byte is not either
      {"<p>\x89\xBF\x8Ai 1,000\x89~</p>", CharsetCode::ShiftJis, CharsetReason::kNoDeclaration},
      {"<p>\xC0\xAF \xE3\x81\x82</p>", CharsetCode::ShiftJis, CharsetReason::kNoDeclaration},
      {"<p>\xE3\x81</p>", CharsetCode::ShiftJis, CharsetReason::kNoDeclaration},
      {"<meta charset=utf-8", CharsetCode::ShiftJis, CharsetReason::kNoDeclaration},
      {"<p>no declaration</p>", CharsetCode::ShiftJis, CharsetReason::kNoDeclaration},
      {"", CharsetCode::ShiftJis, CharsetReason::kNoDeclaration},
  };
  for (const auto& c : cases) {
    const CharsetChoice choice = choosePageCharset(c.bytes);
    EXPECT_EQ(choice.code, c.code) << c.bytes;
    EXPECT_EQ(choice.reason, c.reason) << c.bytes;
  }
  EXPECT_EQ(describeCharsetChoice({CharsetCode::Utf8, CharsetReason::kUtf8Bytes}),
            "UTF-8 (no charset declared; the bytes are UTF-8)");
}

}  // namespace
}  // namespace yentax
