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

TEST(DetectCharsetTest, PageWithoutUsableDeclarationIsShiftJis) {
  struct Case {
    std::string bytes;
    CharsetCode code;
  };
  const Case cases[] = {
      {"<HTML><Meta Charset=Shift_Jis>", CharsetCode::ShiftJis},
      {"\xC9\xBD <meta http-equiv=\"Content-Type\" content=\"text/html; charset = euc_jp\">",
       CharsetCode::EucJp},
      {"\xE3\x81\x82<meta\r\ncharset=utf-8>", CharsetCode::ShiftJis},
      {"\xE0<meta charset=\"iso-2022-jp\">", CharsetCode::Iso2022Jp},
      {"<meta charset=utf-8", CharsetCode::ShiftJis},
      {"<p>no declaration</p>", CharsetCode::ShiftJis},
      {"", CharsetCode::ShiftJis},
  };
  for (const auto& c : cases) EXPECT_EQ(detectPageCharset(c.bytes), c.code) << c.bytes;
}

}  // namespace
}  // namespace yentax
