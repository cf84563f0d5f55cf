#pragma once

// The keyboard program's ports: virtual ports on JACK or ALSA where the system can make them,
// a pair of existing WinMM ports (a loopback cable's) on Windows, which cannot.
#ifdef _WIN32
#include "keyboard/program/WinMmKeyboardPorts.h"
namespace vantrel {
using KeyboardPorts = WinMmKeyboardPorts;
}
#else
#include "keyboard/program/RtMidiKeyboardPorts.h"
namespace vantrel {
using KeyboardPorts = RtMidiKeyboardPorts;
}
#endif
