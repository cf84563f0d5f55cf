#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fit/FitOptions.h"
#include "fit/FitResult.h"

namespace vantrel {

enum class SongPartKind { Intro, Fill, Ending };

// A range of a song's measures that becomes one part of a style.
struct SongPart {
    SongPartKind kind = SongPartKind::Fill;
    std::uint32_t from = 1;  // measures counted from 1, both kept
    std::uint32_t to = 1;
    int number = 1;      // the Fill's number (1..8); 1 for Intro and Ending
    std::string reason;  // why it was proposed; empty when the user chose it

    // "intro.mid", "fill2.mid", "ending.mid"
    std::string FileName() const;
    // "Intro", "Fill 2", "Ending"
    std::string Title() const;
};

struct SongPartOutcome {
    SongPart part;
    FitResult result;
};

// What one song holds for making parts: its measures and the chord of each (nothing where none
// is clear). refused names why the song cannot be used.
struct SongSurvey {
    std::vector<std::optional<music::Chord>> chords;
    // The same measures with how sure each chord is; empty when the song has only drums.
    std::vector<MeasureChordFinding> findings;
    bool onlyDrums = false;
    std::string refused;
    std::vector<int> dropSuggestion;  // with refused: channels to leave out, as FitResult has
};

SongSurvey SurveySong(std::span<const std::uint8_t> image, const FitOptions& options);

// Parts for a song that was given none: its first measures as Intro, its last as Ending, and
// the one-chord stretches it repeats most as Fills (at most maxFills), each with its reason.
std::vector<SongPart> ProposeParts(const SongSurvey& survey, std::size_t maxFills = 3);

// Each part fitted on its own: Intro and Ending moved into C major or A minor (--key auto),
// Fills moved onto the source chord. base carries the user's channel, tempo and thinning
// choices.
std::vector<SongPartOutcome> FitSongParts(std::span<const std::uint8_t> image,
                                          const std::vector<SongPart>& parts,
                                          const FitOptions& base);

// "G | D | ? | C": the chord of each measure of the part, "?" where none is clear.
std::string PartChords(const SongSurvey& survey, const SongPart& part);

// Notes of the fitted part, over all its channels.
int NotesKept(const FitResult& result);

// The bytes a part may take in the style image: the block of the eighth Fill is 6 bytes short.
std::size_t PartBudget(const SongPart& part);

}  // namespace vantrel
