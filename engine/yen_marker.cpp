#include "engine/yen_marker.h"

#include "base/unit_search.h"
#include "base/utf16_text.h"
#include "engine/char_classes.h"

namespace yentax {

namespace {

constexpr std::u16string_view kSkippedBrackets =
    u"()（）[]［］＜＞｢｣「」{}｛｝《》〔〕『』【】〝〟";
constexpr std::u16string_view kSkippedEntities[] = {kLsquoEntity, kRsquoEntity, kNbspEntity,
                                                    kLtEntity, kGtEntity};

bool isSkippedChar(char16_t c) {
  return isSpaceChar(c) || kSkippedBrackets.find(c) != std::u16string_view::npos;
}

}  // namespace

bool isBackslashYenMarker(char16_t c) { return c == u'\\' || c == u'\u00A5'; }

bool isYenMarkerBefore(std::u16string_view candidate) {
  if (candidate.size() == 1) {
    return isBackslashYenMarker(candidate[0]) || candidate == kFullWidthYenMarker;
  }
  return candidate == kYenEntity;
}

std::size_t yenMarkerBeforeLength(std::u16string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const char16_t c = text[pos];
  if (isBackslashYenMarker(c) || c == kFullWidthYenMarker[0]) return 1;
  return startsWith(text.substr(pos), kYenEntity) ? kYenEntity.size() : 0;
}

std::size_t findBackslashYenMarker(std::u16string_view text, std::size_t from) {
  return findEitherUnit(text, u'\\', u'\u00A5', from);
}

std::size_t skippedRunBefore(std::u16string_view text) {
  std::size_t i = text.size();
  while (i > 0) {
    const char16_t c = text[i - 1];
    if (isSkippedChar(c) || c == u'\t') {
      --i;
      continue;
    }
    if (c != u';') break;
    std::size_t entity = 0;
    for (const auto e : kSkippedEntities) {
      if (endsWith(text.substr(0, i), e)) entity = e.size();
    }
    if (entity == 0) break;
    i -= entity;
  }
  return text.size() - i;
}

YenMarkCandidate FindYenMarkNear(ScanDirection direction, std::u16string_view text) {
  const std::size_t n = text.size();
  if (direction == ScanDirection::kBackward) {
    std::size_t i = n;
    while (i > 0) {
      const char16_t c = text[i - 1];
      if (isSkippedChar(c)) {
        --i;
        continue;
      }
      const std::u16string_view head = text.substr(0, i);
      if (c == u';') {
        if (endsWith(head, kYenEntity)) {
          return {std::u16string(kYenEntity), n - (i - kYenEntity.size())};
        }
        std::size_t entity = 0;
        for (const auto e : kSkippedEntities) {
          if (endsWith(head, e)) entity = e.size();
        }
        if (entity != 0) {
          i -= entity;
          continue;
        }
      }
      return {std::u16string(1, c), n - (i - 1)};
    }
    return {u"", n};
  }
  std::size_t i = 0;
  while (i < n) {
    const char16_t c = text[i];
    if (isSkippedChar(c)) {
      ++i;
      continue;
    }
    if (c == u'&') {
      std::size_t entity = 0;
      for (const auto e : kSkippedEntities) {
        if (startsWith(text.substr(i), e)) entity = e.size();
      }
      if (entity != 0) {
        i += entity;
        continue;
      }
    }
    return {std::u16string(1, c), i + 1};
  }
  return {u"", n};
}

}  // namespace yentax
