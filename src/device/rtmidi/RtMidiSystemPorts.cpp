#include "device/SystemPorts.h"
#include "device/rtmidi/RtMidiBackend.h"

namespace vantrel {

std::unique_ptr<MidiPortBackend> MakeSystemPortBackend(const std::string& clientName) {
    return MakeRtMidiBackend(clientName);
}

}  // namespace vantrel
