#include "music/Chord.h"

#include <cstddef>

namespace vantrel::music {
namespace {

// One row per quality. The scale is read by degree; `third` and `seventh` are the tones that
// play those roles (a suspension for the third, the sixth for the seventh of a sixth chord),
// kNone where the chord has no seventh.
constexpr int kNone = -1;

struct QualityRow {
    ChordQuality quality;
    std::string_view suffix;
    std::array<int, 7> scale;
    int third;
    int fifth;
    int seventh;
    int extra;  // a ninth named by the quality (kNone otherwise)
};

constexpr std::array<QualityRow, kAllChordQualities.size()> kRows{{
    {ChordQuality::Major, "", {0, 2, 4, 5, 7, 9, 11}, 4, 7, kNone, kNone},
    {ChordQuality::Minor, "m", {0, 2, 3, 5, 7, 8, 10}, 3, 7, kNone, kNone},
    {ChordQuality::Seventh, "7", {0, 2, 4, 5, 7, 9, 10}, 4, 7, 10, kNone},
    {ChordQuality::Major7, "maj7", {0, 2, 4, 5, 7, 9, 11}, 4, 7, 11, kNone},
    {ChordQuality::Minor7, "m7", {0, 2, 3, 5, 7, 8, 10}, 3, 7, 10, kNone},
    {ChordQuality::Sixth, "6", {0, 2, 4, 5, 7, 9, 11}, 4, 7, 9, kNone},
    {ChordQuality::Minor6, "m6", {0, 2, 3, 5, 7, 9, 10}, 3, 7, 9, kNone},
    {ChordQuality::Diminished, "dim", {0, 2, 3, 5, 6, 8, 10}, 3, 6, kNone, kNone},
    {ChordQuality::Diminished7, "dim7", {0, 2, 3, 5, 6, 8, 9}, 3, 6, 9, kNone},
    {ChordQuality::Augmented, "aug", {0, 2, 4, 5, 8, 9, 11}, 4, 8, kNone, kNone},
    {ChordQuality::Sus2, "sus2", {0, 2, 2, 5, 7, 9, 11}, 2, 7, kNone, kNone},
    {ChordQuality::Sus4, "sus4", {0, 2, 5, 5, 7, 9, 11}, 5, 7, kNone, kNone},
    {ChordQuality::Ninth, "9", {0, 2, 4, 5, 7, 9, 10}, 4, 7, 10, 14},
    {ChordQuality::HalfDiminished, "m7b5", {0, 2, 3, 5, 6, 8, 10}, 3, 6, 10, kNone},
    {ChordQuality::SeventhSus4, "7sus4", {0, 2, 5, 5, 7, 9, 10}, 5, 7, 10, kNone},
}};

const QualityRow& RowOf(ChordQuality quality) {
    return kRows[static_cast<std::size_t>(quality)];
}

constexpr std::array<std::string_view, 12> kRootNames{"C",  "C#", "D",  "Eb", "E",  "F",
                                                      "F#", "G",  "Ab", "A",  "Bb", "B"};

// Natural letters' pitch classes, A..G.
constexpr std::array<int, 7> kLetterPitch{9, 11, 0, 2, 4, 5, 7};

constexpr std::string_view kUnicodeSharp = "\u266F";
constexpr std::string_view kUnicodeFlat = "\u266D";

// Reads a note name (letter and at most one accidental) from the front of `text`.
std::optional<PitchClass> TakeNoteName(std::string_view& text) {
    if (text.empty() || text.front() < 'A' || text.front() > 'G')
        return std::nullopt;
    int pitch = kLetterPitch[static_cast<std::size_t>(text.front() - 'A')];
    text.remove_prefix(1);
    if (text.starts_with('#')) {
        ++pitch;
        text.remove_prefix(1);
    } else if (text.starts_with(kUnicodeSharp)) {
        ++pitch;
        text.remove_prefix(kUnicodeSharp.size());
    } else if (text.starts_with(kUnicodeFlat)) {
        --pitch;
        text.remove_prefix(kUnicodeFlat.size());
    } else if (text.starts_with('b')) {
        --pitch;
        text.remove_prefix(1);
    }
    return (pitch + 12) % 12;
}

// The suffix with Unicode accidentals written as ASCII ("m7♭5" is "m7b5").
std::string AsciiSuffix(std::string_view suffix) {
    std::string ascii;
    while (!suffix.empty()) {
        if (suffix.starts_with(kUnicodeFlat)) {
            ascii += 'b';
            suffix.remove_prefix(kUnicodeFlat.size());
        } else if (suffix.starts_with(kUnicodeSharp)) {
            ascii += '#';
            suffix.remove_prefix(kUnicodeSharp.size());
        } else {
            ascii += suffix.front();
            suffix.remove_prefix(1);
        }
    }
    return ascii;
}

}  // namespace

std::optional<int> RoleInterval(ChordQuality quality, ChordRole role) {
    const QualityRow& row = RowOf(quality);
    auto present = [](int interval) {
        return interval == kNone ? std::nullopt : std::optional<int>(interval);
    };
    switch (role) {
        case ChordRole::Root:
            return 0;
        case ChordRole::Third:
            return row.third;
        case ChordRole::Fifth:
            return row.fifth;
        case ChordRole::Seventh:
            return present(row.seventh);
        case ChordRole::Ninth:
            return row.scale[1];
        case ChordRole::Eleventh:
            return row.scale[3];
        case ChordRole::Thirteenth:
            return row.scale[5];
    }
    return std::nullopt;
}

std::array<int, 7> ChordScale(ChordQuality quality) {
    return RowOf(quality).scale;
}

bool HasMinorThird(ChordQuality quality) {
    return RowOf(quality).third == 3;
}

std::vector<int> ChordIntervals(ChordQuality quality) {
    const QualityRow& row = RowOf(quality);
    std::vector<int> intervals{0};
    if (row.third < row.fifth)
        intervals.push_back(row.third);
    intervals.push_back(row.fifth);
    if (row.seventh != kNone)
        intervals.push_back(row.seventh);
    if (row.extra != kNone)
        intervals.push_back(row.extra);
    return intervals;
}

std::string_view QualitySuffix(ChordQuality quality) {
    return RowOf(quality).suffix;
}

std::string ChordName(const Chord& chord) {
    std::string name(kRootNames[static_cast<std::size_t>(((chord.root % 12) + 12) % 12)]);
    name += QualitySuffix(chord.quality);
    if (chord.bass && *chord.bass != chord.root) {
        name += '/';
        name += kRootNames[static_cast<std::size_t>(((*chord.bass % 12) + 12) % 12)];
    }
    return name;
}

std::optional<Chord> ParseChord(std::string_view text) {
    std::string_view rest = text;
    const std::optional<PitchClass> root = TakeNoteName(rest);
    if (!root)
        return std::nullopt;
    std::string_view suffix = rest;
    std::optional<PitchClass> bass;
    if (const std::size_t slash = rest.find('/'); slash != std::string_view::npos) {
        suffix = rest.substr(0, slash);
        std::string_view bassText = rest.substr(slash + 1);
        bass = TakeNoteName(bassText);
        if (!bass || !bassText.empty())
            return std::nullopt;
    }
    const std::string ascii = AsciiSuffix(suffix);
    for (const QualityRow& row : kRows) {
        if (row.suffix == ascii) {
            Chord chord{*root, row.quality, std::nullopt};
            if (bass && *bass != *root)
                chord.bass = bass;
            return chord;
        }
    }
    return std::nullopt;
}

}  // namespace vantrel::music
