#pragma once

#include "midi/SmfWriter.h"
#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"

namespace vantrel {

// Division of pattern data and of the MIDI files made from it.
inline constexpr std::uint16_t kPatternTicksPerQuarter = 192;

// Turns a decoded pattern back into a format 1 MIDI file at 192 ticks per quarter note, so a
// user can hear what the keyboard will play: a conductor track with tempo, time signature and
// kind marker, then one track per present channel that opens with the channel's settings (bank,
// program, volume, pan, reverb, port) and holds its recorded events at their times.
SmfWriter PatternToMidi(const ControlListEntry& entry, const DecodedPattern& pattern);

}  // namespace vantrel
