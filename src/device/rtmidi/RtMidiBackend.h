#pragma once

#include <memory>
#include <string>

#include "device/MidiPortBackend.h"

namespace vantrel {

// The system's MIDI ports through RtMidi, over every API RtMidi was built with (on Linux ALSA
// and JACK). An API that cannot start (no sound card for ALSA, no server for JACK) simply
// contributes no ports; ports are listed API by API with the names RtMidi reports.
// `clientName` is how this program appears to the MIDI system.
std::unique_ptr<MidiPortBackend> MakeRtMidiBackend(const std::string& clientName);

// A pair of virtual ports that other programs connect to (JACK or ALSA), for a program that
// plays the device's part. Input bytes arrive on RtMidi's thread.
class VirtualPortPair {
  public:
    virtual ~VirtualPortPair() = default;
    [[nodiscard]] virtual bool Send(std::span<const std::uint8_t> bytes) = 0;
    // Which RtMidi API the ports live on ("jack", "alsa").
    virtual std::string ApiName() const = 0;
};

// Opens virtual input and output ports named `portName` on the first API that allows them
// (JACK first when `preferJack`); null when none does. The callback runs on RtMidi's thread
// until the object is destroyed.
std::unique_ptr<VirtualPortPair> OpenVirtualPortPair(const std::string& clientName,
                                                     const std::string& portName,
                                                     MidiInputCallback onInput,
                                                     bool preferJack = true);

}  // namespace vantrel
