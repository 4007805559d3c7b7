#pragma once

// The page of the options dialog for RateLabelTab: the tax labels, the reduced rate and its
// marks. Every widget is named after its control and bound to it.
//
//   tabs->addTab(rateLabelPage(this, form.RateTab, bind_), QString());

#include "qt/bindings.h"
#include "settings/rate_label_tab.h"

class QWidget;

namespace yentax {

QWidget* rateLabelPage(QWidget* parent, RateLabelTab& tab, ViewBindings& bind);

}  // namespace yentax
