#pragma once

#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "common/TerminalPrompt.h"
#include "device/CMidiTrans.h"
#include "device/LinkOptions.h"
#include "device/MidiPortBackend.h"
#include "keyboard/KeyboardOptions.h"

namespace vantrel::cli {

// Which ports a device command talks over.
struct DevicePorts {
    std::string input;   // index or name
    std::string output;  // index or name
    bool useVirtual = false;
    LinkOptions link;   // pacing, retries and identifier for this command
    std::string trace;  // where to write the transfer trace; empty: none
    KeyboardTiming virtualTiming;  // how the in-process keyboard answers
};

// The system's ports (RtMidi) followed by the in-process virtual keyboard's pair.
std::shared_ptr<MidiPortBackend> MakeCommandLineBackend(bool virtualOnly,
                                                        KeyboardOptions keyboard = {});

// The in-process keyboard's timing switches on a command, each usable only with --virtual.
void AddVirtualKeyboardTiming(CLI::App& command, CLI::Option& virtualFlag, KeyboardTiming& timing);

// One device command's link: the shared port layer on the command line's backend, with no
// pump (nothing to dispatch in a terminal) and messages on stderr. The link options apply for
// the session; a trace asked for is recorded throughout and written when the session ends.
class DeviceSession {
  public:
    explicit DeviceSession(const DevicePorts& ports);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    CMidiTrans& Trans() { return trans_; }
    TerminalPrompt& Prompt() { return prompt_; }

    // Opens the ports and connects; the exit status when that fails.
    std::optional<int> Connect(const DevicePorts& ports, std::string& deviceName);

  private:
    TerminalPrompt prompt_;
    CMidiTrans trans_;
    std::string trace_;
};

}  // namespace vantrel::cli
