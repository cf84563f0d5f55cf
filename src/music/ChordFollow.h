#pragma once

#include "music/Chord.h"

namespace vantrel::music {

// How the keyboard treats a pattern channel when it follows the chord the player holds:
// channels 10 and 11 (drums, percussion) never move, 12 is the bass, 13 to 16 are chord parts
// (and so is any other channel).
enum class ChannelRole { Drums, Bass, ChordPart };

ChannelRole RoleOfChannel(int channel);  // 10..16

// Where a note written on the source chord (C major 7) sounds when the player holds `played`.
// Drums: unchanged. Bass: moved by the interval from C to the played chord's bass root, into the
// octave that keeps it nearest to where it was written. Chord parts: a note that is a role of the
// source chord (C, E, G, B; D, F, A as 9th, 11th, 13th) takes the same role in the played chord,
// a role the chord lacks goes to its nearest chord tone, other notes move by the root's interval;
// each note lands in the octave nearest to where it was written (a tritone either way: the lower
// one). The answer stays in 0..127, moved by octaves where it would leave that range.
int FollowChord(int note, ChannelRole role, const Chord& played);

// The inverse, used to write a pattern from music played over `detected`: where a note of a
// measure played on `detected` belongs on the source chord, so that FollowChord of the answer
// over `detected` gives the note back wherever the chord has the role. Chord parts: each tone by
// its role to the same role of C major 7, other tones of the chord's scale (ChordScale) to the
// same degree of C major, the rest by the root's interval. Bass: its root goes to C, other tones
// of the chord and scale to the matching tones of C major, so that a walking line over A minor
// becomes one over C major (A to C, B to D, C to E ...); under a slash bass it moves by the
// interval from the bass root to C. FollowChord moves the bass by one interval, so it gives a
// bass note back only where the chord's tone and C major's agree (always for the root).
int ToSourceChord(int note, ChannelRole role, const Chord& detected);

// ToSourceChord for a note that begins a measure in which the bass moves (plays more than one
// pitch class, as a walking bass does). A bass note there goes to the root, C, in the octave
// nearest to the note (a tritone either way: the lower one), whichever tone of the chord the
// line started the measure on: the keyboard moves a
// pattern's bass by the root's interval alone, so the bass on the downbeat is the note that names
// every chord the player holds, and a third or fifth written there would sound each of them
// inverted. The rest of the line keeps its tones. Chord parts as ToSourceChord.
int ToSourceChordOnDownbeat(int note, ChannelRole role, const Chord& detected);

// Intro and Ending are melodies, not loops: the keyboard moves them as a whole by the interval
// from C to the first chord's root, with the third, sixth and seventh of C major lowered when
// that chord is minor. Drums unchanged.
int MoveWithKey(int note, ChannelRole role, const Chord& firstChord);

}  // namespace vantrel::music
