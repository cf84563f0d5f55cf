#include "music/ChordFollow.h"

#include <array>
#include <cstdlib>

namespace vantrel::music {
namespace {

// The order in which a pitch is matched to a role when a chord gives two roles one tone (a sus4's
// fourth is its third and its 11th; a sixth chord's sixth is its seventh and its 13th): chord
// tones first, then the 13th before the seventh so that a sixth stays a sixth.
constexpr std::array<ChordRole, 7> kRoleLookupOrder{
    ChordRole::Root,    ChordRole::Third, ChordRole::Fifth,    ChordRole::Thirteenth,
    ChordRole::Seventh, ChordRole::Ninth, ChordRole::Eleventh,
};

int PitchClassOf(int value) {
    return ((value % 12) + 12) % 12;
}

enum class Tie { Down, Up };

// The note of pitch class `pitchClass` nearest to `written`, kept inside 0..127 by octaves.
int NearestOctave(int written, int pitchClass, Tie tie) {
    int up = PitchClassOf(pitchClass - written);  // 0..11 semitones upwards
    int note = written + up;
    if (up > 6 || (up == 6 && tie == Tie::Down))
        note -= 12;
    while (note > 127)
        note -= 12;
    while (note < 0)
        note += 12;
    return note;
}

std::optional<ChordRole> RoleOf(int interval, ChordQuality quality) {
    for (ChordRole role : kRoleLookupOrder) {
        if (RoleInterval(quality, role) == interval)
            return role;
    }
    return std::nullopt;
}

// The chord tone nearest to `interval` (semitones above the root, around the circle), the lower
// one on a tie.
int NearestChordTone(int interval, ChordQuality quality) {
    int best = 0;
    int bestDistance = 12;
    for (int tone : ChordIntervals(quality)) {
        const int down = PitchClassOf(interval - tone);
        const int distance = std::min(down, 12 - down);
        const bool below = down <= 6;
        if (distance < bestDistance || (distance == bestDistance && below)) {
            best = PitchClassOf(tone);
            bestDistance = distance;
        }
    }
    return best;
}

// Where an interval above the detected chord's root lies on the source chord: the same role of
// C major 7, else the same degree of C major, else the same interval above C.
int SourceInterval(int interval, ChordQuality quality) {
    if (const std::optional<ChordRole> role = RoleOf(interval, quality))
        return *RoleInterval(kSourceChord.quality, *role);
    const std::array<int, 7> scale = ChordScale(quality);
    const std::array<int, 7> major = ChordScale(kSourceChord.quality);
    for (std::size_t degree = 0; degree < scale.size(); ++degree) {
        if (scale[degree] == interval)
            return major[degree];
    }
    return interval;
}

}  // namespace

ChannelRole RoleOfChannel(int channel) {
    if (channel == 10 || channel == 11)
        return ChannelRole::Drums;
    if (channel == 12)
        return ChannelRole::Bass;
    return ChannelRole::ChordPart;
}

int FollowChord(int note, ChannelRole role, const Chord& played) {
    switch (role) {
        case ChannelRole::Drums:
            return note;
        case ChannelRole::Bass:
            return NearestOctave(note, note + played.BassRoot(), Tie::Down);
        case ChannelRole::ChordPart:
            break;
    }
    const int written = PitchClassOf(note - kSourceChord.root);
    int interval = written;
    if (const std::optional<ChordRole> sourceRole = RoleOf(written, kSourceChord.quality)) {
        const std::optional<int> played_interval = RoleInterval(played.quality, *sourceRole);
        interval = played_interval ? *played_interval : NearestChordTone(written, played.quality);
    }
    return NearestOctave(note, played.root + interval, Tie::Down);
}

int ToSourceChord(int note, ChannelRole role, const Chord& detected) {
    if (role == ChannelRole::Drums)
        return note;
    // Under a slash bass the bass line is read against its own root, which the chord's scale
    // does not describe: it moves by that root's interval alone.
    if (role == ChannelRole::Bass && detected.bass)
        return NearestOctave(note, note - *detected.bass + kSourceChord.root, Tie::Up);
    const int interval = PitchClassOf(note - detected.root);
    // Ties go up here because they go down in FollowChord, so that it finds the note again.
    return NearestOctave(note, kSourceChord.root + SourceInterval(interval, detected.quality),
                         Tie::Up);
}

int ToSourceChordOnDownbeat(int note, ChannelRole role, const Chord& detected) {
    if (role != ChannelRole::Bass)
        return ToSourceChord(note, role, detected);
    return NearestOctave(note, kSourceChord.root, Tie::Down);
}

int MoveWithKey(int note, ChannelRole role, const Chord& firstChord) {
    if (role == ChannelRole::Drums)
        return note;
    int moved = note;
    if (HasMinorThird(firstChord.quality)) {
        const int degree = PitchClassOf(note - kSourceChord.root);
        if (degree == 4 || degree == 9 || degree == 11)
            --moved;
    }
    const int root = PitchClassOf(firstChord.root - kSourceChord.root);
    moved += root > 5 ? root - 12 : root;
    while (moved > 127)
        moved -= 12;
    while (moved < 0)
        moved += 12;
    return moved;
}

}  // namespace vantrel::music
