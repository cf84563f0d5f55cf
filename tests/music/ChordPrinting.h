#pragma once

#include <ostream>

#include "music/Chord.h"

namespace vantrel::music {

// GoogleTest shows chords by name ("F#m7", "C/E") in its failure messages.
inline void PrintTo(const Chord& chord, std::ostream* out) {
    *out << ChordName(chord);
}

}  // namespace vantrel::music
