#include "settings/conversion_settings.h"

namespace yentax {

ConversionSettings ConversionSettings::defaults(const DefaultFolders& folders) {
  ConversionSettings s;
  s.SettingsFilePath = folders.settings + u"/ExchangeList.KVT";
  s.LogPath = folders.log + u"/Zenkalo.Log";
  return s;
}

std::vector<std::u16string> ConversionSettings::builtInSuffixWords() {
  return {u"㍉", u"㎜", u"㎝", u"㎡", u"㌢", u"㌔",   u"㎏",   u"㎎",   u"ｇ",   u"個",
          u"台", u"本", u"枚", u"皿", u"㍑", u"度",   u"番",   u"版",   u"°",    u"℃",
          u"％", u"㍗", u"‰",  u"㌍", u"年", u"月",   u"日",   u"時",   u"分",   u"秒",
          u"色", u"回", u"階", u"毎", u"ヶ", u"ごと", u"まで", u"引き", u"以下", u"以上"};
}

std::vector<std::u16string> ConversionSettings::builtInPrefixWords() {
  return {u"-", u"～", u"+", u"/", u"x", u"×", u"*", u"№", u"約"};
}

std::vector<std::u16string> ConversionSettings::builtInIncludedLabels() {
  return {u"税込", u"税込み", u"税込価格", u"内税"};
}

std::vector<std::u16string> ConversionSettings::builtInBeforeTaxLabels() {
  return {u"税抜", u"税抜き", u"税別", u"外税", u"本体", u"本体価格", u"+税", u"＋税", u"税抜価格"};
}

}  // namespace yentax
