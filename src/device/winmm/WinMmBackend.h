#pragma once

#include <memory>

#include "device/MidiPortBackend.h"

namespace vantrel {

// The system's MIDI ports through WinMM (midiIn* / midiOut*). Ports are listed by the product
// names the system reports, in its own order. Input is System Exclusive only: several buffers
// stay queued with the port, so a message longer than one buffer continues in the next instead
// of being cut; every filled buffer's bytes go to the callback on the system's MIDI thread and
// the buffer is queued again at once.
std::unique_ptr<MidiPortBackend> MakeWinMmBackend();

}  // namespace vantrel
