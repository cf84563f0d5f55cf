#include "app/DesktopPortBackend.h"

#include "device/CompositePortBackend.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "keyboard/VirtualKeyboardBackend.h"

namespace vantrel {

std::shared_ptr<MidiPortBackend> MakeDesktopPortBackend() {
    auto backend = std::make_shared<CompositePortBackend>();
    backend->Add(MakeRtMidiBackend("Vantrel"));
    backend->Add(std::make_shared<VirtualKeyboardBackend>());
    return backend;
}

}  // namespace vantrel
