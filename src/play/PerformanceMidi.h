#pragma once

#include "midi/SmfWriter.h"
#include "play/Performance.h"

namespace vantrel::play {

// The performance as a format 1 Standard MIDI File at 192 ticks per quarter note, to open in any
// sequencer: a conductor track with each part's time signature and tempo and, at every measure,
// a marker naming its chord; then one track per channel (10 to 16) with the channel settings
// and the moved notes, exactly the events a live performance sends.
SmfWriter PerformanceToMidi(const Performance& performance);

}  // namespace vantrel::play
