#pragma once

#include <string>

#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"

namespace vantrel::play {

// How the keyboard plays a part: an Intro or an Ending once, moved as a whole into the key of
// the first chord; a Fill over and over, following every chord the player holds.
enum class PartKind { Intro, Fill, Ending };

// "intro", "fill" or "ending".
const char* PartKindName(PartKind kind);

// One converted part, as the keyboard receives it: its control list entry and its pattern data
// read back. Built from the converted bytes, never from the MIDI file itself, so what is heard
// is what the keyboard gets.
struct PlayPart {
    std::string name;  // "intro", "fill3", or the file's name
    PartKind kind = PartKind::Fill;
    ControlListEntry entry;
    DecodedPattern pattern;
};

}  // namespace vantrel::play
