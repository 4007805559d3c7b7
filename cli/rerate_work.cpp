#include "cli/rerate_work.h"

#include "base/utf8.h"
#include "cli/escaped_name.h"

namespace yentax {

namespace {

std::string yenList(const std::vector<FixedAmount>& amounts) {
  std::string text;
  for (const FixedAmount amount : amounts) {
    text += (text.empty() ? "" : ", ") + std::to_string(amount.wholePart());
  }
  return text;
}

// Why the amount was left alone, for its finding.
std::string whyLeft(const RerateRecord& record, const RerateMove& move) {
  const std::string rate = std::to_string(move.from) + "%";
  if (record.outcome == RerateOutcome::kUnmatched) {
    return "its added text fits neither " + rate + " nor " + std::to_string(move.to) + "%";
  }
  if (record.candidateCount == 0) {
    return "no whole-yen before-tax price at " + rate + " gives it (nearest " +
           yenList(record.candidates) + ")";
  }
  return std::to_string(record.candidateCount) + " before-tax prices at " + rate + " give it (" +
         yenList(record.candidates) +
         (record.candidateCount > record.candidates.size() ? ", ..." : "") + ")";
}

}  // namespace

PageStep rerateStep(const RerateMove& move) {
  return
      [move](const ConversionSettings& settings, ConversionContext& context, PageOutcome& outcome) {
        const auto records = reratePage(settings, context, move);
        if (!records) return false;
        // A rate change adds no line break: a line in the new text is the line in the old.
        const std::u16string_view text = context.page.text();
        std::size_t line = 1;
        std::size_t counted = 0;
        for (const RerateRecord& record : *records) {
          if (record.outcome == RerateOutcome::kRerated) {
            ++outcome.amounts;
            continue;
          }
          for (; counted < record.newPosition && counted < text.size(); ++counted) {
            line += text[counted] == u'\n';
          }
          outcome.findings.push_back({.line = line,
                                      .amount = utf16ToUtf8(record.before),
                                      .becomes = whyLeft(record, move),
                                      .kind = record.outcome == RerateOutcome::kAmbiguous
                                                  ? FindingKind::kAmbiguous
                                                  : FindingKind::kUnmatched,
                                      .rate = move.from,
                                      .reason = rateReasonWords(record.item)});
        }
        return true;
      };
}

std::string rerateFindingsText(std::string_view file, const std::vector<AmountFinding>& findings) {
  std::string text;
  const std::string shown = file == "-" ? "(standard input)" : escapedName(file);
  for (const AmountFinding& f : findings) {
    text += shown + ":" + std::to_string(f.line) + ": " +
            (f.kind == FindingKind::kAmbiguous ? "ambiguous: " : "fits neither rate: ") + f.amount +
            ": " + f.becomes + "; left as it is  [" + f.reason + "]\n";
  }
  return text;
}

}  // namespace yentax
