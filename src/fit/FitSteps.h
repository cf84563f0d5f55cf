#pragma once

#include <span>
#include <string>
#include <vector>

#include "fit/FitOptions.h"
#include "fit/FitResult.h"
#include "fit/FitSong.h"

namespace vantrel {

// The song being fitted and what has been done to it so far. Each step below changes the song
// and reports what it changed; a step that finds the song cannot be fitted sets refused.
struct FitRun {
    Song song;
    FitOptions options;
    FitResult result;

    void Report(std::string kind, std::string detail) {
        result.changes.push_back({std::move(kind), std::move(detail)});
    }
    void Refuse(std::string reason) {
        result.refused = true;
        result.reason = std::move(reason);
    }
};

// Reads the file into run.song; refuses what is not a Standard MIDI File of format 0 or 1, and
// SMPTE divisions. Channel messages with a data byte of 128 or more are left out, reported.
void ReadSong(std::span<const std::uint8_t> image, FitRun& run);
// Every time to 192 ticks per quarter note.
void RescaleDivision(FitRun& run);
// One track per channel; song metas into track 0.
void SplitChannels(FitRun& run);
// The first tempo and time signature at tick 0 of track 0, defaults when there are none.
void PlaceTempoAndTimeSignature(FitRun& run);
// Channels onto 10..16.
void MapChannels(FitRun& run);
// A note never released ends at the end of its last measure.
void ReleaseHeldNotes(FitRun& run);
// --measures.
void TrimMeasures(FitRun& run);
// --chords, --source-chord, --key.
void FitChords(FitRun& run);
// A report line that tells what was found rather than what was changed.
bool IsInformation(const FitChange& change);
// --thin-bends.
void ThinStreams(FitRun& run);
// Converts result.output as the upload does and fills the budget fields.
void MeasureBudget(FitRun& run);

// Ticks of one measure of the song at 192 ticks per quarter note, from the first time
// signature of track 0 (4/4 when there is none).
std::uint32_t MeasureTicks(const Song& song);

}  // namespace vantrel
