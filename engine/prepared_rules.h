#pragma once

// What the passes make of the settings before they read a page: the amount rules and the
// tax labels. A run over many pages with one set of settings prepares them once and hands
// them to every page through the context; they only read, so workers may share them.
//
//   context.preparedRules = std::make_shared<const PreparedRules>(settings);
//   runConversionPasses(settings, context);  // uses them while they belong to settings

#include "engine/amount_check.h"
#include "engine/tax_labels.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct PreparedRules {
  explicit PreparedRules(const ConversionSettings& settings) : rules(settings), labels(settings) {}

  // Whether these were prepared from that very settings object.
  bool belongTo(const ConversionSettings& settings) const { return &rules.settings() == &settings; }

  AmountRules rules;
  TaxLabels labels;
};

}  // namespace yentax
