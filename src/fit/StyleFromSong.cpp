#include "fit/StyleFromSong.h"

#include <algorithm>
#include <map>

#include "fit/FitMidi.h"

namespace vantrel {

namespace {

constexpr std::uint32_t kFramingMeasures = 4;

std::string RangeText(std::uint32_t from, std::uint32_t to) {
    return from == to ? "measure " + std::to_string(from)
                      : "measures " + std::to_string(from) + "-" + std::to_string(to);
}

}  // namespace

std::string SongPart::FileName() const {
    switch (kind) {
        case SongPartKind::Intro:
            return "intro.mid";
        case SongPartKind::Ending:
            return "ending.mid";
        case SongPartKind::Fill:
            break;
    }
    return "fill" + std::to_string(number) + ".mid";
}

std::string SongPart::Title() const {
    switch (kind) {
        case SongPartKind::Intro:
            return "Intro";
        case SongPartKind::Ending:
            return "Ending";
        case SongPartKind::Fill:
            break;
    }
    return "Fill " + std::to_string(number);
}

SongSurvey SurveySong(std::span<const std::uint8_t> image, const FitOptions& options) {
    FitOptions survey = options;
    survey.measures.reset();
    survey.firstMeasure = 1;
    survey.sourceChord = false;
    survey.key.reset();
    survey.chart.reset();
    survey.reportChords = true;
    const FitResult result = FitMidiImage(image, survey);
    SongSurvey outcome;
    if (result.refused)
        outcome.refused = result.reason;
    outcome.chords = result.measureChords;
    outcome.findings = result.measureFindings;
    outcome.onlyDrums = result.onlyDrums;
    outcome.dropSuggestion = result.dropSuggestion;
    return outcome;
}

std::vector<SongPart> ProposeParts(const SongSurvey& survey, std::size_t maxFills) {
    std::vector<SongPart> parts;
    const auto count = static_cast<std::uint32_t>(survey.chords.size());
    if (count == 0)
        return parts;
    const std::uint32_t framing = std::min(kFramingMeasures, std::max<std::uint32_t>(count / 4, 1));
    parts.push_back({SongPartKind::Intro, 1, framing, 1,
                     "the song's first " + std::to_string(framing) + " measures"});
    const std::uint32_t endingFrom = count - framing + 1;

    // One-chord stretches between Intro and Ending, by how often the song repeats them.
    struct Stretch {
        std::uint32_t from;
        std::uint32_t length;
        std::string chord;
    };
    std::vector<Stretch> stretches;
    for (std::uint32_t m = framing + 1; m < endingFrom;) {
        if (!survey.chords[m - 1]) {
            ++m;
            continue;
        }
        std::uint32_t end = m;
        while (end + 1 < endingFrom && survey.chords[end] &&
               *survey.chords[end] == *survey.chords[m - 1] && end + 1 - m < kFramingMeasures) {
            ++end;
        }
        stretches.push_back({m, end - m + 1, music::ChordName(*survey.chords[m - 1])});
        m = end + 1;
    }
    std::map<std::pair<std::string, std::uint32_t>, int> repeats;
    for (const Stretch& stretch : stretches)
        ++repeats[{stretch.chord, stretch.length}];
    std::stable_sort(stretches.begin(), stretches.end(), [&](const Stretch& a, const Stretch& b) {
        const int ra = repeats[{a.chord, a.length}];
        const int rb = repeats[{b.chord, b.length}];
        return ra != rb ? ra > rb : a.length > b.length;
    });
    std::vector<std::pair<std::string, std::uint32_t>> taken;
    for (const Stretch& stretch : stretches) {
        if (parts.size() - 1 >= maxFills)
            break;
        const std::pair<std::string, std::uint32_t> key{stretch.chord, stretch.length};
        if (std::find(taken.begin(), taken.end(), key) != taken.end())
            continue;
        taken.push_back(key);
        const int times = repeats[key];
        parts.push_back({SongPartKind::Fill, stretch.from, stretch.from + stretch.length - 1,
                         static_cast<int>(taken.size()),
                         stretch.chord + " alone for " + std::to_string(stretch.length) +
                             (stretch.length == 1 ? " measure" : " measures") +
                             ", a stretch the song plays " + std::to_string(times) +
                             (times == 1 ? " time" : " times")});
    }
    if (endingFrom > framing) {
        parts.push_back({SongPartKind::Ending, endingFrom, count, 1,
                         "the song's last " + std::to_string(framing) + " measures"});
    }
    return parts;
}

std::vector<SongPartOutcome> FitSongParts(std::span<const std::uint8_t> image,
                                          const std::vector<SongPart>& parts,
                                          const FitOptions& base) {
    std::vector<SongPartOutcome> outcomes;
    for (const SongPart& part : parts) {
        FitOptions options = base;
        options.firstMeasure = part.from;
        options.measures = part.to;
        options.chart.reset();
        if (part.kind == SongPartKind::Fill) {
            options.sourceChord = true;
            options.key.reset();
        } else {
            options.sourceChord = false;
            options.key = FitOptions::KeyChoice{};
        }
        SongPartOutcome outcome{part, FitMidiImage(image, options)};
        if (outcome.result.refused)
            outcome.result.reason =
                part.Title() + " (" + RangeText(part.from, part.to) + "): " + outcome.result.reason;
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::string PartChords(const SongSurvey& survey, const SongPart& part) {
    std::string text;
    for (std::uint32_t m = part.from; m <= part.to && m <= survey.chords.size(); ++m) {
        const auto& chord = survey.chords[m - 1];
        text += (text.empty() ? "" : " | ") + (chord ? music::ChordName(*chord) : std::string("?"));
    }
    return text;
}

int NotesKept(const FitResult& result) {
    int notes = 0;
    for (const auto& [channel, count] : result.notesOut)
        notes += count;
    return notes;
}

std::size_t PartBudget(const SongPart& part) {
    return part.kind == SongPartKind::Fill && part.number == 8 ? kFitBudgetEighthFill : kFitBudget;
}

}  // namespace vantrel
