#include "engine/conversion_passes.h"

#include "engine/pass_selection.h"
#include "engine/pass_sweep.h"

namespace yentax {

namespace {

// Runs the passes on the shared page, one log for all of them; a pass that fails leaves
// the page as the passes before it left it.
bool onPage(const ConversionSettings& settings, ConversionContext& context,
            const std::vector<ConversionPass>& passes) {
  if (passes.empty()) return true;
  try {
    ConversionLog log = logFor(settings, context);
    PassRun run(settings, context, log, passes);
    for (const ConversionPass& pass : passes) {
      PassOutcome outcome = runPass(run, pass, context.page.text());
      if (!outcome.done) return false;
      if (outcome.rewritten) context.page.assign(std::move(*outcome.rewritten));
    }
    context.rewrites += run.rewrites;
    if (run.logging) context.log.append(std::move(log).entry());
    return true;
  } catch (...) {
    return false;
  }
}

std::optional<std::u16string> onText(const ConversionSettings& settings, ConversionContext& context,
                                     const std::vector<ConversionPass>& passes,
                                     std::u16string_view region) {
  std::u16string text(region);
  if (text.empty() || passes.empty()) return text;
  try {
    ConversionLog log = logFor(settings, context);
    PassRun run(settings, context, log, passes);
    for (const ConversionPass& pass : passes) {
      PassOutcome outcome = runPass(run, pass, text);
      if (!outcome.done) return std::nullopt;
      if (outcome.rewritten) text = std::move(*outcome.rewritten);
    }
    context.rewrites += run.rewrites;
    if (run.logging) context.log.append(std::move(log).entry());
    return text;
  } catch (...) {
    return std::nullopt;
  }
}

const ConversionPass kSegmentPass{true, 0};
ConversionPass markedPass(std::int32_t markerIndex) { return {false, markerIndex}; }

}  // namespace

bool ConvertTextSegments(const ConversionSettings& settings, ConversionContext& context) {
  return onPage(settings, context, {kSegmentPass});
}

std::optional<std::u16string> ConvertTextSegments(const ConversionSettings& settings,
                                                  ConversionContext& context,
                                                  std::u16string_view text) {
  return onText(settings, context, {kSegmentPass}, text);
}

bool ConvertMarkedAmounts(const ConversionSettings& settings, ConversionContext& context,
                          std::int32_t markerIndex) {
  if (markerIndex < kYenSuffixMarkerIndex || markerIndex > kYenEntityMarkerIndex) return false;
  return onPage(settings, context, {markedPass(markerIndex)});
}

std::optional<std::u16string> ConvertMarkedAmounts(const ConversionSettings& settings,
                                                   ConversionContext& context,
                                                   std::int32_t markerIndex,
                                                   std::u16string_view text) {
  if (text.empty()) return std::u16string();
  if (markerIndex < kYenSuffixMarkerIndex || markerIndex > kYenEntityMarkerIndex)
    return std::nullopt;
  return onText(settings, context, {markedPass(markerIndex)}, text);
}

bool runConversionPasses(const ConversionSettings& settings, ConversionContext& context) {
  const auto passes = selectPasses(settings);
  return passes && onPage(settings, context, *passes);
}

std::optional<std::u16string> runConversionPasses(const ConversionSettings& settings,
                                                  ConversionContext& context,
                                                  std::u16string_view region) {
  const auto passes = selectPasses(settings);
  if (!passes) return std::nullopt;
  return onText(settings, context, *passes, region);
}

}  // namespace yentax
