#pragma once

#include <cstddef>
#include <memory>

#include "device/MidiPortBackend.h"

namespace vantrel {

class UserPrompt;

// The window program's setup of the shared port layer, for as long as this object lives: the
// given ports, the port layer's messages through the window's prompt, and waits that keep
// handling the window's events (so it repaints, and a click during a transfer is refused rather
// than queued), and the transfer trace recording (the newest kWindowTraceLines lines, about ten
// uploads of a full style, for "Save transfer trace…"). Afterwards the ports are closed and the
// port layer is left with none of these.
class DesktopDeviceLink {
  public:
    static constexpr std::size_t kWindowTraceLines = 20000;

    DesktopDeviceLink(UserPrompt& prompt, std::shared_ptr<MidiPortBackend> backend);
    ~DesktopDeviceLink();
    DesktopDeviceLink(const DesktopDeviceLink&) = delete;
    DesktopDeviceLink& operator=(const DesktopDeviceLink&) = delete;
};

}  // namespace vantrel
