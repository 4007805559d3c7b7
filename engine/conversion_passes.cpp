#include "engine/conversion_passes.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "engine/amount_review.h"
#include "engine/conversion_log.h"
#include "engine/marked_amount.h"
#include "engine/pass_selection.h"
#include "engine/replacement.h"
#include "engine/segment_admission.h"
#include "engine/segment_number.h"
#include "engine/separator_classes.h"
#include "engine/spliced_text.h"
#include "engine/tax_arithmetic.h"
#include "engine/text_segment.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

// Backward looks read a prefix word or an entity beyond the run next to the number.
std::size_t lookbehindFor(const ConversionSettings& settings) {
  std::size_t longest = 8;
  for (const auto& word : settings.PrefixWords) longest = std::max(longest, word.size() + 2);
  return longest;
}

// The checks of a marked amount read on past its segment only as far as a suffix word
// that starts at the "<" could reach.
std::size_t lookaheadFor(const ConversionSettings& settings) {
  std::size_t longest = 1;
  for (const auto& word : settings.SuffixWords) longest = std::max(longest, word.size() + 1);
  return longest;
}

// Converts the amount at [numberStart, numberEnd) of the view with pieces around it; an
// amount whose tax cannot be computed or written stays as it is.
bool convertAmount(const ConversionSettings& settings, const ConversionContext& context,
                   SplicedText& page, const SplicedText::View& view, PassKind pass,
                   const AmountToken& token, const ReplacementPieces& pieces) {
  const auto amounts = ComputeTax(token.value, settings);
  if (!amounts) return false;
  const auto replacement = ComposeReplacement(pass, *amounts, token.style, pieces, settings);
  if (!replacement || replacement->extent == ReplacementExtent::kNothing) return false;
  const TextRange range = replacement->range(token.start, token.end, pieces);
  if (!admitRewrite(settings, context.reviewAmount, page, view, token, range, replacement->text)) {
    return false;
  }
  page.replace(view, range.pos, range.pos + range.length, replacement->text);
  return true;
}

std::optional<std::u16string> convertSegments(const ConversionSettings& settings,
                                              ConversionContext& context, std::u16string_view text,
                                              std::u16string_view upper) {
  ConversionLog log(context.CurrentLogPath, context.CurrentSourcePath, settings.LogTextFormat,
                    context.logClock);
  if (!log.writeStart()) return std::nullopt;
  const SeparatorClasses separators = SeparatorClasses::forSettings(settings);
  SplicedText page(text, separators, lookbehindFor(settings));
  for (auto segment = findTextSegment(text, upper, 0, false); segment;
       segment = findTextSegment(text, upper, segment->end, false)) {
    const std::u16string_view before = text.substr(segment->begin, segment->length());
    const SegmentAdmission admission = admitSegment(settings, before);
    if (admission == SegmentAdmission::kSkipped) continue;
    page.copyTo(segment->begin);
    const std::size_t segmentOutput = page.output().size();
    bool changed = false;
    for (std::size_t digit = findDigit(text, segment->begin, segment->end); digit != npos;) {
      const auto view = page.viewAt(digit, segment->end, segmentOutput);
      const SegmentNumber number =
          examineSegmentNumber(settings, separators, view.text, view.cut,
                               admission == SegmentAdmission::kMarkedNumbersOnly);
      if (number.accepted) {
        const ReplacementPieces pieces{
            number.markerBefore(view.text), number.yenAfter(view.text), {}};
        changed |= convertAmount(settings, context, page, view, PassKind::kTextSegment,
                                 number.token, pieces);
      }
      digit = findDigit(text, view.originalPos(number.resume), segment->end);
    }
    if (changed) {
      page.copyTo(segment->end);
      const std::u16string_view after = std::u16string_view(page.output()).substr(segmentOutput);
      if (!log.writeRecord(before, after)) return std::nullopt;
    }
  }
  if (!log.close()) return std::nullopt;
  return std::move(page).finish();
}

std::optional<std::u16string> convertMarked(const ConversionSettings& settings,
                                            ConversionContext& context, std::int32_t markerIndex,
                                            std::u16string_view text, std::u16string_view upper) {
  if (markerIndex < 0 || markerIndex > 3) return std::nullopt;
  ConversionLog log(context.CurrentLogPath, context.CurrentSourcePath, settings.LogTextFormat,
                    context.logClock);
  if (markerIndex == kYenSuffixMarkerIndex && !log.writeStart()) return std::nullopt;
  if (markerPrecedesEveryTag(text, markerIndex)) {
    if (!log.close()) return std::nullopt;
    return std::u16string(text);
  }
  const SeparatorClasses separators = SeparatorClasses::forSettings(settings);
  const PassKind pass =
      markerIndex == kYenSuffixMarkerIndex ? PassKind::kYenSuffix : PassKind::kMarkerBefore;
  SplicedText page(text, separators, lookbehindFor(settings));
  const std::size_t lookahead = lookaheadFor(settings);
  for (auto segment = findTextSegment(text, upper, 0, true); segment;
       segment = findTextSegment(text, upper, segment->end, true)) {
    std::size_t marker = findYenMarker(text, segment->begin, markerIndex, segment->end);
    if (marker == npos) continue;
    page.copyTo(segment->begin);
    const std::size_t segmentOutput = page.output().size();
    bool changed = false;
    while (marker != npos) {
      const auto view = page.viewAt(marker, segment->end + lookahead, 0);
      std::size_t resume = marker + yenMarkerLengthAt(text, marker, markerIndex);
      if (const auto amount =
              examineMarkedAmount(settings, separators, view.text, view.cut, markerIndex)) {
        const ReplacementPieces pieces{amount->marker(view.text), amount->yen(view.text),
                                       amount->run};
        changed |= convertAmount(settings, context, page, view, pass, amount->token, pieces);
        resume = std::max(resume, view.originalPos(amount->stretchEnd));
      }
      marker = findYenMarker(text, resume, markerIndex, segment->end);
    }
    if (changed) {
      page.copyTo(segment->end);
      const std::u16string_view after = std::u16string_view(page.output()).substr(segmentOutput);
      if (!log.writeRecord(text.substr(segment->begin, segment->length()), after)) {
        return std::nullopt;
      }
    }
  }
  if (!log.close()) return std::nullopt;
  return std::move(page).finish();
}

// Runs a pass on the shared page; the page stays as it was when the pass fails.
template <typename Pass>
bool onPage(ConversionContext& context, Pass pass) {
  try {
    auto converted = pass(context.page.text(), context.page.upper());
    if (!converted) return false;
    context.page.assign(std::move(*converted));
    return true;
  } catch (...) {
    return false;
  }
}

template <typename Pass>
std::optional<std::u16string> onText(std::u16string_view text, Pass pass) {
  if (text.empty()) return std::u16string();
  try {
    return pass(text, toUpperAscii(text));
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

bool ConvertTextSegments(const ConversionSettings& settings, ConversionContext& context) {
  return onPage(context, [&](std::u16string_view text, std::u16string_view upper) {
    return convertSegments(settings, context, text, upper);
  });
}

std::optional<std::u16string> ConvertTextSegments(const ConversionSettings& settings,
                                                  ConversionContext& context,
                                                  std::u16string_view text) {
  return onText(text, [&](std::u16string_view original, std::u16string_view upper) {
    return convertSegments(settings, context, original, upper);
  });
}

bool ConvertMarkedAmounts(const ConversionSettings& settings, ConversionContext& context,
                          std::int32_t markerIndex) {
  return onPage(context, [&](std::u16string_view text, std::u16string_view upper) {
    return convertMarked(settings, context, markerIndex, text, upper);
  });
}

std::optional<std::u16string> ConvertMarkedAmounts(const ConversionSettings& settings,
                                                   ConversionContext& context,
                                                   std::int32_t markerIndex,
                                                   std::u16string_view text) {
  return onText(text, [&](std::u16string_view original, std::u16string_view upper) {
    return convertMarked(settings, context, markerIndex, original, upper);
  });
}

bool runConversionPasses(const ConversionSettings& settings, ConversionContext& context) {
  const auto passes = selectPasses(settings);
  if (!passes) return false;
  for (const ConversionPass pass : *passes) {
    const bool done = pass.textSegments ? ConvertTextSegments(settings, context)
                                        : ConvertMarkedAmounts(settings, context, pass.markerIndex);
    if (!done) return false;
  }
  return true;
}

std::optional<std::u16string> runConversionPasses(const ConversionSettings& settings,
                                                  ConversionContext& context,
                                                  std::u16string_view region) {
  const auto passes = selectPasses(settings);
  if (!passes) return std::nullopt;
  std::u16string text(region);
  for (const ConversionPass pass : *passes) {
    auto converted = pass.textSegments
                         ? ConvertTextSegments(settings, context, text)
                         : ConvertMarkedAmounts(settings, context, pass.markerIndex, text);
    if (!converted) return std::nullopt;
    text = std::move(*converted);
  }
  return text;
}

}  // namespace yentax
