#pragma once

#include <string>
#include <vector>

#include "midi/SmfWriter.h"

namespace vantrel::examples {

// One part of the example style and the file name that shows its role.
struct ExamplePart {
    std::string fileName;
    SmfWriter midi;
};

// A small pop style in C major at 120 BPM, 4/4, 192 ticks per quarter note: a four-bar Intro,
// three one-bar Fills and a two-bar Ending. Track 0 holds the tempo and time signature; every
// other track plays on one accompaniment channel: 10 drums, 11 percussion, 12 bass, 13 piano
// chords, 14 string pad.
std::vector<ExamplePart> MakeExampleStyle();

}  // namespace vantrel::examples
