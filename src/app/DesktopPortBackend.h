#pragma once

#include <memory>

#include "device/MidiPortBackend.h"

namespace vantrel {

// The system's MIDI ports followed by the in-process virtual keyboard's pair, so the program can
// be tried without a keyboard attached.
std::shared_ptr<MidiPortBackend> MakeDesktopPortBackend();

}  // namespace vantrel
