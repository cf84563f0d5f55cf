#include "device/SystemPorts.h"
#include "device/winmm/WinMmBackend.h"

namespace vantrel {

// WinMM does not name its clients.
std::unique_ptr<MidiPortBackend> MakeSystemPortBackend(const std::string& /*clientName*/) {
    return MakeWinMmBackend();
}

}  // namespace vantrel
