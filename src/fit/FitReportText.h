#pragma once

#include <string>
#include <vector>

#include "fit/FitResult.h"

namespace vantrel {

// The report of a fit as the user reads it, one line each: "kind: detail" for every change,
// the notes in and out of every input channel, the budget, and the verdict ("fits" or
// "does not fit: ..."). A refused file gives its reason only.
std::vector<std::string> FitReportLines(const FitResult& result);

// "1,312 of 2,048 bytes (2,042 as the eighth Fill): control list 82, channel 10 400, ..."
std::string FitBudgetText(const FitResult& result);

// Why the output does not fit; empty when it does.
std::string FitShortfall(const FitResult& result);

}  // namespace vantrel
