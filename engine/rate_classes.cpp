#include "engine/rate_classes.h"

#include <fnmatch.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "base/unit_search.h"
#include "base/utf16_text.h"
#include "base/utf8.h"
#include "engine/char_classes.h"
#include "engine/text_segment.h"

namespace yentax {

namespace {

constexpr std::u16string_view kReducedRateWord = u"軽減税率";
constexpr std::u16string_view kAttributeName = u"data-tax-rate";

// The tags that end an item wherever they stand, and those that end one only outside a
// row or list item (a row's cells, a list item's paragraphs belong to it).
constexpr std::array<std::u16string_view, 4> kItemTags = {u"tr", u"li", u"dt", u"dd"};
constexpr std::array<std::u16string_view, 8> kListTags = {u"table", u"tbody", u"thead", u"tfoot",
                                                          u"ul",    u"ol",    u"dl",    u"body"};
constexpr std::array<std::u16string_view, 22> kBlockTags = {
    u"p",    u"div",        u"br",      u"hr",      u"h1",     u"h2",     u"h3",  u"h4",
    u"h5",   u"h6",         u"section", u"article", u"header", u"footer", u"nav", u"aside",
    u"form", u"blockquote", u"pre",     u"center",  u"main",   u"caption"};

template <std::size_t N>
bool isOneOf(std::u16string_view name, const std::array<std::u16string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

struct TagName {
  std::u16string name;  // lower case
  bool closing = false;
};

TagName tagNameOf(std::u16string_view tag) {
  TagName t;
  std::size_t i = 1;
  if (i < tag.size() && tag[i] == u'/') {
    t.closing = true;
    ++i;
  }
  for (; i < tag.size(); ++i) {
    const char16_t c = toLowerAscii(tag[i]);
    if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))) break;
    t.name += c;
  }
  return t;
}

// The value of data-tax-rate in an opening tag; "" when it has none.
std::u16string attributeValue(std::u16string_view tag) {
  const std::u16string lower = toLowerAscii(tag);
  const std::size_t at = lower.find(kAttributeName);
  if (at == std::u16string::npos) return {};
  std::size_t i = at + kAttributeName.size();
  while (i < tag.size() && isSpaceChar(tag[i])) ++i;
  if (i >= tag.size() || tag[i] != u'=') return {};
  ++i;
  while (i < tag.size() && isSpaceChar(tag[i])) ++i;
  const char16_t quote = i < tag.size() && (tag[i] == u'"' || tag[i] == u'\'') ? tag[i] : 0;
  if (quote) ++i;
  std::u16string value;
  for (; i < tag.size(); ++i) {
    const char16_t c = tag[i];
    if (quote ? c == quote : (c == u' ' || c == u'>' || c == u'/')) break;
    value += toLowerAscii(c);
  }
  return std::u16string(trimBlanks(value));
}

// A character that can serve as a mark: a symbol, neither a letter, digit, kana, ideograph
// nor punctuation of a sentence.
bool isMarkChar(char16_t c) {
  if (isDigit(c) || isLetterChar(c) || isHiraganaChar(c) || isKatakanaChar(c)) return false;
  if (c == u'ー' || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)) return false;
  if (c <= u' ' || c == u'\u3000') return false;
  constexpr std::u16string_view kPunctuation = u"、。・,.:：;；()（）「」『』[]［］%％!！?？\"'&<>";
  return kPunctuation.find(c) == std::u16string_view::npos;
}

void addMark(std::vector<std::u16string>& marks, std::u16string_view mark) {
  mark = trimBlanks(mark);
  if (mark.empty() || mark.size() > 4) return;
  if (std::find(marks.begin(), marks.end(), mark) == marks.end()) marks.emplace_back(mark);
}

// The marks of a legend sentence: quoted ones, those before 印 or マーク, and the run of
// symbols the sentence starts with.
void collectMarks(std::u16string_view sentence, std::vector<std::u16string>& marks) {
  constexpr std::array<std::u16string_view, 3> kOpen = {u"「", u"『", u"\""};
  constexpr std::array<std::u16string_view, 3> kClose = {u"」", u"』", u"\""};
  for (std::size_t k = 0; k < kOpen.size(); ++k) {
    for (std::size_t at = sentence.find(kOpen[k]); at != std::u16string_view::npos;
         at = sentence.find(kOpen[k], at + 1)) {
      const std::size_t end = sentence.find(kClose[k], at + 1);
      if (end == std::u16string_view::npos) break;
      const std::u16string_view quoted = sentence.substr(at + 1, end - at - 1);
      if (quoted.find(kReducedRateWord) == std::u16string_view::npos) addMark(marks, quoted);
      at = end;
    }
  }
  for (const std::u16string_view word :
       {std::u16string_view(u"印"), std::u16string_view(u"マーク")}) {
    for (std::size_t at = sentence.find(word); at != std::u16string_view::npos;
         at = sentence.find(word, at + 1)) {
      std::size_t start = at;
      while (start > 0 && isMarkChar(sentence[start - 1])) --start;
      addMark(marks, sentence.substr(start, at - start));
    }
  }
  std::size_t i = 0;
  while (i < sentence.size()) {
    while (i < sentence.size() && (isSpaceChar(sentence[i]) || sentence[i] == u'・' ||
                                   sentence[i] == u'、' || sentence[i] == u'/')) {
      ++i;
    }
    const std::size_t start = i;
    while (i < sentence.size() && isMarkChar(sentence[i])) ++i;
    if (i == start) break;
    addMark(marks, sentence.substr(start, i - start));
  }
}

std::vector<std::u16string> segmentMarks(std::u16string_view segment) {
  std::vector<std::u16string> marks;
  std::size_t start = 0;
  while (start < segment.size()) {
    std::size_t end = segment.find_first_of(u"。\n", start);
    if (end == std::u16string_view::npos) end = segment.size();
    for (auto& mark : legendMarks(segment.substr(start, end - start))) addMark(marks, mark);
    start = end + 1;
  }
  return marks;
}

}  // namespace

std::vector<std::u16string> legendMarks(std::u16string_view sentence) {
  std::vector<std::u16string> marks;
  if (sentence.find(kReducedRateWord) != std::u16string_view::npos) collectMarks(sentence, marks);
  return marks;
}

std::u16string rateReasonText(const RateChoice& choice) {
  switch (choice.reason) {
    case RateReason::kLegendMark:
      return u"凡例の印「" + choice.mark + u"」";
    case RateReason::kListedMark:
      return u"設定の印「" + choice.mark + u"」";
    case RateReason::kAttribute:
      return u"属性 data-tax-rate";
    case RateReason::kAttributeOverMark:
      return u"属性 data-tax-rate（印「" + choice.mark + u"」より優先）";
    case RateReason::kListedPage:
      return u"軽減税率のページ";
    case RateReason::kStandard:
      break;
  }
  return u"標準税率";
}

std::string rateReasonWords(const RateChoice& choice) {
  const std::string mark = utf16ToUtf8(choice.mark);
  switch (choice.reason) {
    case RateReason::kLegendMark:
      return "legend mark " + mark;
    case RateReason::kListedMark:
      return "listed mark " + mark;
    case RateReason::kAttribute:
      return "attribute";
    case RateReason::kAttributeOverMark:
      return "attribute, over mark " + mark;
    case RateReason::kListedPage:
      return "listed page";
    case RateReason::kStandard:
      break;
  }
  return "standard";
}

bool isListedReducedPage(std::u16string_view path, const std::vector<std::u16string>& patterns) {
  const std::string file = utf16ToUtf8(path);
  for (const auto& pattern : patterns) {
    const std::string glob = utf16ToUtf8(pattern);
    if (glob.empty()) continue;
    if (fnmatch(glob.c_str(), file.c_str(), 0) == 0) return true;
    for (std::size_t slash = file.find('/'); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
      if (fnmatch(glob.c_str(), file.c_str() + slash + 1, 0) == 0) return true;
    }
  }
  return false;
}

std::array<std::u16string_view, 2> PageRates::markingWords() {
  return {kReducedRateWord, kAttributeName};
}

bool PageRates::marksItems(std::u16string_view text, const ConversionSettings& settings) {
  return !settings.ReducedMarks.empty() ||
         findWord(text, kReducedRateWord) != std::u16string_view::npos ||
         findWord(text, kAttributeName) != std::u16string_view::npos;
}

PageRates PageRates::plain(const ConversionSettings& settings, bool listedPage) {
  PageRates rates;
  rates.standard_ = settings.TaxRate;
  rates.reduced_ = settings.ReducedRate;
  rates.listedPage_ = listedPage;
  rates.twoRates_ = listedPage;
  return rates;
}

PageRates PageRates::of(std::u16string_view text, const ConversionSettings& settings,
                        bool listedPage, const RateSurroundings* around) {
  PageRates rates = plain(settings, listedPage);
  const RateSurroundings none;
  const RateSurroundings& outside = around ? *around : none;
  const bool legend = findWord(text, kReducedRateWord) != std::u16string_view::npos;
  const bool attributes =
      !outside.attribute.empty() || findWord(text, kAttributeName) != std::u16string_view::npos;
  const bool inherited = !outside.legendMarks.empty() || !outside.itemMark.empty();
  if (!legend && !attributes && !inherited && settings.ReducedMarks.empty()) return rates;

  rates.legendMarks_ = outside.legendMarks;
  if (legend) {
    for (auto s = findTextSegment(text, 0, true); s; s = findTextSegment(text, s->end, true)) {
      const std::u16string_view segment = text.substr(s->begin, s->length());
      if (segment.find(kReducedRateWord) == std::u16string_view::npos) continue;
      for (auto& mark : segmentMarks(segment)) addMark(rates.legendMarks_, mark);
    }
  }
  std::vector<std::pair<std::u16string, RateReason>> marks;
  for (const auto& mark : rates.legendMarks_) marks.emplace_back(mark, RateReason::kLegendMark);
  for (const auto& mark : settings.ReducedMarks) {
    if (!trimBlanks(mark).empty()) marks.emplace_back(mark, RateReason::kListedMark);
  }

  // Elements that carry the attribute, innermost last; the one in force outside has no
  // name, so no tag of the text closes it.
  std::vector<std::pair<std::u16string, std::u16string>> open;
  if (!outside.attribute.empty()) {
    open.emplace_back(std::u16string(), outside.attribute);
    rates.attributes_.push_back({0, outside.attribute});
  }
  bool inItem = outside.inItem;
  rates.items_.push_back({0, outside.itemMark, outside.itemMarkReason, inItem});
  rates.twoRates_ = !rates.legendMarks_.empty() || !outside.itemMark.empty();
  auto step = [&rates, &open](std::size_t at) {
    const std::u16string value = open.empty() ? std::u16string() : open.back().second;
    if (rates.attributes_.empty() ? !value.empty() : rates.attributes_.back().value != value) {
      rates.attributes_.push_back({at, value});
    }
  };
  for (auto s = findTextSegment(text, 0, true); s; s = findTextSegment(text, s->end, true)) {
    const std::u16string_view tag = text.substr(s->tag, s->begin - s->tag);
    const TagName name = tagNameOf(tag);
    const bool itemTag = isOneOf(name.name, kItemTags);
    const bool listTag = isOneOf(name.name, kListTags);
    if (itemTag || listTag || (!inItem && isOneOf(name.name, kBlockTags))) {
      inItem = itemTag && !name.closing;
      rates.items_.push_back({s->tag, {}, RateReason::kStandard, inItem});
    }
    if (!name.name.empty()) {
      // A row or list item closes the one before it, written or not.
      auto match = [&name](const auto& element) { return element.first == name.name; };
      if (name.closing || itemTag) {
        const auto found = std::find_if(open.rbegin(), open.rend(), match);
        if (found != open.rend()) open.erase(std::prev(found.base()), open.end());
      }
      if (!name.closing && attributes) {
        if (auto value = attributeValue(tag); !value.empty()) open.emplace_back(name.name, value);
      }
      step(s->tag);
    }
    Item& item = rates.items_.back();
    if (item.mark.empty()) {
      const std::u16string_view segment = text.substr(s->begin, s->length());
      for (const auto& [mark, reason] : marks) {
        if (segment.find(mark) == std::u16string_view::npos) continue;
        item.mark = mark;
        item.markReason = reason;
        rates.twoRates_ = true;
        break;
      }
    }
  }
  rates.twoRates_ = rates.twoRates_ || !rates.attributes_.empty();
  return rates;
}

std::optional<RateChoice> PageRates::fromAttribute(std::u16string_view value,
                                                   const Item* item) const {
  std::int32_t rate = -1;
  if (value == u"reduced") rate = reduced_;
  if (value == u"standard") rate = standard_;
  if (const auto number =
          parseNumericText(endsWith(value, u"%") ? value.substr(0, value.size() - 1) : value)) {
    if (*number >= 0 && *number <= 100 && *number == static_cast<std::int32_t>(*number)) {
      rate = static_cast<std::int32_t>(*number);
    }
  }
  if (rate < 0) return std::nullopt;
  // The attribute wins over a mark; the log says which mark it overruled.
  if (item && !item->mark.empty() && rate == standard_) {
    return RateChoice{rate, RateReason::kAttributeOverMark, item->mark};
  }
  return RateChoice{rate, RateReason::kAttribute, {}};
}

const PageRates::Item* PageRates::itemAt(std::size_t pos) const {
  const auto it = std::upper_bound(items_.begin(), items_.end(), pos,
                                   [](std::size_t p, const Item& i) { return p < i.begin; });
  return it == items_.begin() ? nullptr : &*std::prev(it);
}

RateSurroundings PageRates::surroundingsAt(std::size_t pos) const {
  RateSurroundings around;
  around.legendMarks = legendMarks_;
  const auto step =
      std::upper_bound(attributes_.begin(), attributes_.end(), pos,
                       [](std::size_t p, const AttributeStep& s) { return p < s.begin; });
  if (step != attributes_.begin()) around.attribute = std::prev(step)->value;
  if (const Item* item = itemAt(pos)) {
    around.itemMark = item->mark;
    around.itemMarkReason = item->markReason;
    around.inItem = item->listItem;
  }
  return around;
}

RateChoice PageRates::at(std::size_t pos) const {
  const Item* item = itemAt(pos);
  const bool marked = item && !item->mark.empty();
  const auto step =
      std::upper_bound(attributes_.begin(), attributes_.end(), pos,
                       [](std::size_t p, const AttributeStep& s) { return p < s.begin; });
  if (step != attributes_.begin() && !std::prev(step)->value.empty()) {
    if (const auto choice = fromAttribute(std::prev(step)->value, item)) return *choice;
  }
  if (marked) return {reduced_, item->markReason, item->mark};
  if (listedPage_) return {reduced_, RateReason::kListedPage, {}};
  return {standard_, RateReason::kStandard, {}};
}

}  // namespace yentax
