#pragma once

#include <cstddef>
#include <vector>

#include "fit/FitSong.h"
#include "music/ChordDetect.h"

namespace vantrel {

// A sounding note of a fitted song with where its two events stand, so that it can be moved.
struct PlacedNote {
    music::TimedNote timed;
    int channel = 0;
    std::size_t track = 0;
    std::size_t on = 0;   // index of its note on in the track's events
    std::size_t off = 0;  // index of the event that ends it
};

// The notes of channels 12 to 16 (bass and chord parts) or, with drumsToo, of every channel,
// each paired with the first later event that closes its key on its channel. Notes nothing
// closes are left out.
std::vector<PlacedNote> PlacedNotes(const Song& song, bool drumsToo = false);

// Moves a placed note to key (its note on and the event that ends it).
void MoveNote(Song& song, const PlacedNote& note, int key);

}  // namespace vantrel
