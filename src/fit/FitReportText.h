#pragma once

#include <string>
#include <vector>

#include "fit/FitResult.h"

namespace vantrel {

// What the report suggests the user do, in the words of the program showing it: the command
// line names its options, the window its controls. An empty text suggests nothing.
struct FitAdvice {
    std::string fewerMeasures;     // for a part over its block
    std::string leaveOutChannels;  // for a part over its block
    std::string chooseChord;       // for measures left as they are because they hold two chords
};

// "keep fewer measures (--measures)", "leave channels out (--drop)", "give --chords ..."
const FitAdvice& CommandLineFitAdvice();

// The report of a fit as the user reads it, one line each: "kind: detail" for every change,
// the advice for measures that hold two chords, the notes in and out of every input channel,
// the budget, and the verdict ("fits" or "does not fit: ..."). A refused file gives its reason
// only.
std::vector<std::string> FitReportLines(const FitResult& result,
                                        const FitAdvice& advice = CommandLineFitAdvice());

// "1,312 of 2,048 bytes (2,042 as the eighth Fill): control list 82, channel 10 400, ..."
std::string FitBudgetText(const FitResult& result);

// Why the output does not fit; empty when it does.
std::string FitShortfall(const FitResult& result, const FitAdvice& advice = CommandLineFitAdvice());

}  // namespace vantrel
