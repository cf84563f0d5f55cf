// Chords of a fitted part: the chord of each measure (detected, or from --chords), the bass and
// chord parts moved onto the source chord measure by measure (--source-chord), or the whole part
// moved by one interval into C major or A (or C) minor (--key). Drums never move.
#include <algorithm>
#include <cstdio>

#include "fit/FitSteps.h"
#include "fit/MeasureMap.h"
#include "fit/SongNotes.h"
#include "music/ChordFollow.h"

namespace vantrel {

namespace {

std::string Percent(double confidence) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", confidence * 100.0);
    return text;
}

std::string KeyName(music::PitchClass tonic, bool minor) {
    return music::ChordName({tonic, minor ? music::ChordQuality::Minor : music::ChordQuality::Major,
                             std::nullopt}) +
           (minor ? "" : " major");
}

// Measure `m` (from 1) of the song with its beat.
music::MeasureSpan SpanOf(const FitRun& run, const MeasureMap& measures, std::uint32_t m) {
    const std::uint32_t start = measures.StartOf(m);
    const auto& signature = measures.SignatureAt(start);
    return {start, measures.StartOf(m + 1) - start,
            std::max<std::uint32_t>((std::uint32_t{run.song.division} * 4) >>
                                        std::min(signature.denominatorPower & 0x0F, 15),
                                    1)};
}

// The chord of each measure of the song, or nothing where it is not clear (reported).
std::vector<std::optional<music::Chord>> MeasureChords(FitRun& run,
                                                       const std::vector<PlacedNote>& notes) {
    const MeasureMap measures(run.song);
    const std::uint32_t end = run.song.EndTime();
    const std::uint32_t count = end == 0 ? 0 : measures.MeasureAt(end - 1);
    const std::uint32_t offset = run.options.measures ? run.options.firstMeasure - 1 : 0;
    std::vector<music::TimedNote> timed;
    for (const PlacedNote& note : notes)
        timed.push_back(note.timed);
    std::vector<std::optional<music::Chord>> chords;
    if (run.options.chart && run.options.chart->measures.size() < count) {
        run.Refuse("the chord chart gives " + std::to_string(run.options.chart->measures.size()) +
                   " measures, the part has " + std::to_string(count));
        return chords;
    }
    std::vector<music::MeasureChord> detected;
    if (!run.options.chart) {
        std::vector<music::MeasureSpan> spans;
        for (std::uint32_t m = 1; m <= count; ++m)
            spans.push_back(SpanOf(run, measures, m));
        detected = music::DetectMeasureChords(timed, spans);
    }
    for (std::uint32_t m = 1; m <= count; ++m) {
        const std::string name = "measure " + std::to_string(m + offset);
        MeasureChordFinding& finding = run.result.measureFindings.emplace_back();
        finding.measure = m + offset;
        if (run.options.chart) {
            chords.push_back(run.options.chart->measures[m - 1]);
            finding.chord = chords.back();
            finding.confidence = 1.0;
            finding.fromChart = true;
            run.Report("chord", name + ": " + music::ChordName(*chords.back()) + " (chart)");
            continue;
        }
        const music::MeasureChord& found = detected[m - 1];
        finding.confidence = found.confidence;
        if (found.twoChords && found.chord && found.secondChord) {
            chords.push_back(std::nullopt);
            finding.twoChords = true;
            finding.firstHalf = found.chord;
            finding.secondHalf = found.secondChord;
            run.Report("warning", name + " holds two chords, " + music::ChordName(*found.chord) +
                                      " then " + music::ChordName(*found.secondChord) +
                                      ": left as it is");
        } else if (!found.chord) {
            chords.push_back(std::nullopt);
            finding.silent = found.confidence <= 0;
            run.Report("warning",
                       name + (found.confidence > 0 ? " has no clear chord" : " is silent") +
                           ": left as it is");
        } else {
            chords.push_back(found.chord);
            finding.chord = found.chord;
            run.Report("chord", name + ": " + music::ChordName(*found.chord) + " (" +
                                    Percent(found.confidence) + " sure)");
        }
    }
    return chords;
}

void MoveOntoSourceChord(FitRun& run, const std::vector<PlacedNote>& notes,
                         const std::vector<std::optional<music::Chord>>& chords) {
    const MeasureMap measures(run.song);
    int moved = 0;
    int different = 0;
    int kept = 0;
    int downbeatsOnRoot = 0;
    std::vector<music::TimedNote> timed;
    for (const PlacedNote& note : notes)
        timed.push_back(note.timed);
    std::vector<bool> bassMoves;
    for (std::uint32_t m = 1; m <= chords.size(); ++m)
        bassMoves.push_back(music::BassPitchClasses(timed, SpanOf(run, measures, m)) >= 2);
    for (const PlacedNote& note : notes) {
        const std::uint32_t m = measures.MeasureAt(note.timed.start);
        if (m == 0 || m > chords.size() || !chords[m - 1]) {
            ++kept;
            continue;
        }
        const music::Chord& chord = *chords[m - 1];
        const music::MeasureSpan span = SpanOf(run, measures, m);
        // The same slack as chord detection gives a downbeat played a little late. A bass that
        // stays on one note off the root (a pedal) keeps it.
        const bool downbeat =
            bassMoves[m - 1] &&
            note.timed.start - span.start < std::max<std::uint32_t>(span.beatLength / 8, 1);
        const int along = music::ToSourceChord(note.timed.key, note.timed.role, chord);
        const int target =
            downbeat ? music::ToSourceChordOnDownbeat(note.timed.key, note.timed.role, chord)
                     : along;
        if (target != along)
            ++downbeatsOnRoot;
        if (music::FollowChord(target, note.timed.role, chord) != note.timed.key)
            ++different;
        if (target != note.timed.key) {
            MoveNote(run.song, note, target);
            ++moved;
        }
    }
    if (moved == 0)
        return;
    std::string detail = "moved " + std::to_string(moved) + " of " + std::to_string(notes.size()) +
                         " bass and chord notes onto C major 7, measure by measure; played "
                         "over the song's chords they come back ";
    detail += different == 0 ? "exactly" : "with " + std::to_string(different) + " notes different";
    if (downbeatsOnRoot > 0) {
        detail += "; " + std::to_string(downbeatsOnRoot) +
                  " measures where the bass line began on another tone begin on the root, C";
    }
    if (kept > 0)
        detail += "; " + std::to_string(kept) + " notes of unclear measures left as they are";
    run.Report("source-chord", detail);
}

void MoveIntoKey(FitRun& run) {
    const std::vector<PlacedNote> notes = PlacedNotes(run.song);
    std::vector<music::TimedNote> timed;
    for (const PlacedNote& note : notes)
        timed.push_back(note.timed);
    FitOptions::KeyChoice key = *run.options.key;
    std::string found = "given";
    if (key.detect) {
        const music::KeyEstimate estimate = music::DetectKey(timed);
        key.tonic = estimate.tonic;
        key.minor = estimate.minor;
        found = "found, " + Percent(estimate.confidence) + " sure";
    }
    const int target = key.minor && !run.options.minorAsC ? 9 : 0;
    int shift = ((target - key.tonic) % 12 + 12) % 12;
    if (shift > 6)
        shift -= 12;
    const std::string into = KeyName(target, key.minor);
    // The chord whose root is to the song's tonic what C (or A) is to the moved part's.
    run.result.keyChord =
        music::Chord{(key.tonic - target + 12) % 12, music::ChordQuality::Major, std::nullopt};
    if (shift == 0) {
        run.Report("key", KeyName(key.tonic, key.minor) + " (" + found + "): already in " + into);
        return;
    }
    int folded = 0;
    for (const PlacedNote& note : notes) {
        int moved = note.timed.key + shift;
        while (moved > 127) {
            moved -= 12;
            ++folded;
        }
        while (moved < 0) {
            moved += 12;
            ++folded;
        }
        MoveNote(run.song, note, moved);
    }
    std::string detail = "moved " + std::to_string(notes.size()) + " notes " +
                         (shift > 0 ? "up " : "down ") + std::to_string(std::abs(shift)) +
                         " semitones from " + KeyName(key.tonic, key.minor) + " (" + found +
                         ") into " + into;
    if (folded > 0)
        detail += "; " + std::to_string(folded) + " notes an octave back inside the MIDI range";
    detail += "; played over " + music::ChordName(*run.result.keyChord) + " it sounds in " +
              KeyName(key.tonic, key.minor) + " again";
    run.Report("key", detail);
}

}  // namespace

void FitChords(FitRun& run) {
    if (!run.options.ChordsWanted())
        return;
    const std::vector<PlacedNote> notes = PlacedNotes(run.song);
    if (notes.empty()) {
        run.result.onlyDrums = true;
        run.Report("chord", "only drums: no bass or chord notes to move");
        return;
    }
    if (run.options.key) {
        MoveIntoKey(run);
        return;
    }
    const auto chords = MeasureChords(run, notes);
    run.result.measureChords = chords;
    if (run.result.refused || !run.options.sourceChord)
        return;
    MoveOntoSourceChord(run, notes, chords);
}

bool IsInformation(const FitChange& change) {
    return change.kind == "chord" || change.kind == "warning" ||
           (change.kind == "key" && change.detail.find("already in") != std::string::npos);
}

}  // namespace vantrel
