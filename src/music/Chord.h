#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::music {

// Pitch classes count semitones above C: C = 0, C#/Db = 1, ... B = 11.
using PitchClass = int;

// The chord types a chart can name and detection can report. Spelled in charts as
// "" (major), "m", "7", "maj7", "m7", "6", "m6", "dim", "dim7", "aug", "sus2", "sus4", "9",
// "m7b5" and "7sus4".
enum class ChordQuality {
    Major,
    Minor,
    Seventh,
    Major7,
    Minor7,
    Sixth,
    Minor6,
    Diminished,
    Diminished7,
    Augmented,
    Sus2,
    Sus4,
    Ninth,
    HalfDiminished,
    SeventhSus4,
};

// Every quality, in the order of the enum.
inline constexpr std::array<ChordQuality, 15> kAllChordQualities{
    ChordQuality::Major,     ChordQuality::Minor,          ChordQuality::Seventh,
    ChordQuality::Major7,    ChordQuality::Minor7,         ChordQuality::Sixth,
    ChordQuality::Minor6,    ChordQuality::Diminished,     ChordQuality::Diminished7,
    ChordQuality::Augmented, ChordQuality::Sus2,           ChordQuality::Sus4,
    ChordQuality::Ninth,     ChordQuality::HalfDiminished, ChordQuality::SeventhSus4,
};

// A note's function in a chord. Patterns are written on C major 7, where C is the root, E the
// third, G the fifth, B the seventh, and D, F, A the 9th, 11th and 13th.
enum class ChordRole { Root, Third, Fifth, Seventh, Ninth, Eleventh, Thirteenth };

struct Chord {
    PitchClass root = 0;
    ChordQuality quality = ChordQuality::Major;
    std::optional<PitchClass> bass;  // a slash bass ("C/E"); none means the root

    PitchClass BassRoot() const { return bass.value_or(root); }
    bool operator==(const Chord&) const = default;
};

// The chord every pattern is written on: C major 7, root C.
inline constexpr Chord kSourceChord{0, ChordQuality::Major7, std::nullopt};

// Semitones above the root that a role takes in a chord of this quality, or nothing when the
// chord has no such tone (the seventh of a plain triad). A suspended chord's 2nd or 4th stands
// in for its third, a sixth chord's sixth (and a diminished seventh's double-flat seventh) for
// its seventh. The 9th, 11th and 13th are those of the chord's scale (ChordScale).
std::optional<int> RoleInterval(ChordQuality quality, ChordRole role);

// The seven-tone scale a chord implies, by degree (1, 2, 3, 4, 5, 6, 7), as semitones above the
// root: major for major, sixth and major 7 chords, natural minor for minor and minor 7, dorian
// for minor 6, mixolydian for 7 and 9, the 2nd or 4th doubled for suspended chords. Walking and
// passing notes over a chord are read against it.
std::array<int, 7> ChordScale(ChordQuality quality);

// True for the qualities with a minor third (m, m7, m6, dim, dim7, m7b5).
bool HasMinorThird(ChordQuality quality);

// The chord's own tones (root, third or suspension, fifth, and the seventh, sixth or ninth its
// quality names) as semitones above the root, lowest first: {0, 4, 7, 11} for major 7.
std::vector<int> ChordIntervals(ChordQuality quality);

// How a chart spells the quality after the root: "", "m", "7", "maj7", ... "7sus4".
std::string_view QualitySuffix(ChordQuality quality);

// "C", "F#m7", "Bbmaj7", "C/E": roots spelled C, C#, D, Eb, E, F, F#, G, Ab, A, Bb, B.
std::string ChordName(const Chord& chord);

// One chord symbol as a chart writes it ("F#m7", "Bb", "C/E", "Ebdim7"); nothing when it is not
// one. ASCII # and b, and the Unicode sharp and flat signs, are accepted.
std::optional<Chord> ParseChord(std::string_view text);

}  // namespace vantrel::music
