#pragma once

#include <memory>
#include <string>

#include "device/MidiPortBackend.h"

namespace vantrel {

// The computer's own MIDI ports: RtMidi on Linux and macOS, WinMM on Windows. `clientName` is
// how this program appears to the MIDI system, where the system names its clients.
std::unique_ptr<MidiPortBackend> MakeSystemPortBackend(const std::string& clientName);

}  // namespace vantrel
