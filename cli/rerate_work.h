#pragma once

// What the rerate command does with one page: the rate change of engine/rerate.h as the
// step that convert's page work (page_work.h) runs in place of the conversion passes, so
// that delivery, backups, dry runs, diffs and the log are those of convert.
//
//   const PageStep step = rerateStep(request.rerate);
//   PageOutcome done = convertPage(job, settings, spelling, nullptr, step);
//   std::cerr << rerateFindingsText(job.shown, done.findings);  // ambiguous, unmatched
//
// The outcome counts the amounts moved; its findings list the amounts left alone for
// being ambiguous (kAmbiguous) or fitting neither rate (kUnmatched), with their lines.

#include <string>
#include <string_view>
#include <vector>

#include "cli/page_work.h"
#include "engine/rerate.h"

namespace yentax {

PageStep rerateStep(const RerateMove& move);

// "page.htm:12: ambiguous: 1,093円(税込) -> no before-tax price at 8% gives it (nearest
// 1012, 1013); left as it is", one line a finding.
std::string rerateFindingsText(std::string_view file, const std::vector<AmountFinding>& findings);

}  // namespace yentax
