#include "fit/FitReportText.h"

#include <algorithm>

#include "common/GroupedNumber.h"
#include "fit/FitSong.h"

namespace vantrel {

namespace {

std::string NotesLine(int from, int count, const FitResult& result) {
    const auto to = result.channelMap.find(from);
    if (to == result.channelMap.end())
        return "notes: channel " + std::to_string(from) + " (left out): " + std::to_string(count) +
               " in, 0 out";
    const auto out = result.notesOut.find(to->second);
    return "notes: channel " + std::to_string(from) +
           (to->second == from ? "" : " -> " + std::to_string(to->second)) + ": " +
           std::to_string(count) + " in, " +
           std::to_string(out == result.notesOut.end() ? 0 : out->second) + " out";
}

}  // namespace

std::string FitBudgetText(const FitResult& result) {
    std::string text = GroupedNumber(result.bytes) + " of " + GroupedNumber(kFitBudget) +
                       " bytes (" + GroupedNumber(kFitBudgetEighthFill) +
                       " as the eighth Fill): control list 82";
    for (const auto& [channel, bytes] : result.channelBytes)
        text += ", channel " + std::to_string(channel) + " " + GroupedNumber(bytes);
    return text;
}

const FitAdvice& CommandLineFitAdvice() {
    static const FitAdvice advice{"keep fewer measures (--measures)", "leave channels out (--drop)",
                                  "give --chords to choose the chord of a measure that holds two"};
    return advice;
}

std::string FitShortfall(const FitResult& result, const FitAdvice& advice) {
    if (result.refused)
        return result.reason;
    if (!result.checkErrors.empty()) {
        std::string text = "the fitted file still fails the pattern rules:";
        for (const auto& error : result.checkErrors)
            text += " " + error;
        return text;
    }
    if (result.bytes > kFitBudget) {
        std::string text = GroupedNumber(result.bytes - kFitBudget) + " bytes over the " +
                           GroupedNumber(kFitBudget) + "-byte block";
        if (!advice.fewerMeasures.empty() || !advice.leaveOutChannels.empty()) {
            text +=
                ": " + advice.fewerMeasures +
                (advice.fewerMeasures.empty() || advice.leaveOutChannels.empty() ? "" : " or ") +
                advice.leaveOutChannels;
        }
        return text;
    }
    return {};
}

std::vector<std::string> FitReportLines(const FitResult& result, const FitAdvice& advice) {
    if (result.refused)
        return {"cannot be fitted: " + result.reason};
    std::vector<std::string> lines;
    for (const FitChange& change : result.changes)
        lines.push_back(change.kind + ": " + change.detail);
    const bool twoChords =
        std::any_of(result.measureFindings.begin(), result.measureFindings.end(),
                    [](const MeasureChordFinding& finding) { return finding.twoChords; });
    if (twoChords && !advice.chooseChord.empty())
        lines.push_back("advice: " + advice.chooseChord);
    for (const auto& [from, count] : result.notesIn)
        lines.push_back(NotesLine(from, count, result));
    if (result.checkErrors.empty())
        lines.push_back("budget: " + FitBudgetText(result));
    const std::string shortfall = FitShortfall(result, advice);
    lines.push_back(shortfall.empty() ? "fits" : "does not fit: " + shortfall);
    return lines;
}

}  // namespace vantrel
