#include "cli/CliDeviceSession.h"

#include <cstdio>
#include <utility>

#include "cli/CliCommands.h"
#include "common/Utf8Path.h"
#include "device/CMidiDevice.h"
#include "device/CompositePortBackend.h"
#include "device/DeviceConnector.h"
#include "device/LinkTrace.h"
#include "device/SystemPorts.h"
#include "keyboard/KeyboardOptions.h"
#include "keyboard/VirtualKeyboardBackend.h"
#include "keyboard/options/KeyboardTimingOptions.h"

namespace vantrel::cli {

std::shared_ptr<MidiPortBackend> MakeCommandLineBackend(bool virtualOnly,
                                                        KeyboardOptions keyboard) {
    auto backend = std::make_shared<CompositePortBackend>();
    // With --virtual the system's MIDI services are not needed, so none is started.
    if (!virtualOnly)
        backend->Add(MakeSystemPortBackend("Vantrel"));
    backend->Add(std::make_shared<VirtualKeyboardBackend>(std::move(keyboard)));
    return backend;
}

void AddVirtualKeyboardTiming(CLI::App& command, CLI::Option& virtualFlag, KeyboardTiming& timing) {
    for (CLI::Option* option :
         AddKeyboardTimingOptions(command, timing, "Virtual keyboard timing (with --virtual)")) {
        option->needs(&virtualFlag);
    }
}

DeviceSession::DeviceSession(const DevicePorts& ports) : trans_(prompt_), trace_(ports.trace) {
    ApplyLinkOptions(ports.link);
    if (!trace_.empty())
        Trace().Start();
    CMidiDevice& device = trans_.Device();
    device.SetPrompt(&prompt_);
    KeyboardOptions keyboard;
    keyboard.timing = ports.virtualTiming;
    device.SetBackend(MakeCommandLineBackend(ports.useVirtual, std::move(keyboard)));
}

DeviceSession::~DeviceSession() {
    CMidiDevice& device = trans_.Device();
    // Ports close before the backend and the prompt go away.
    device.SetBackend(nullptr);
    device.SetPrompt(nullptr);
    device.SetSysExHandler(nullptr);
    if (!trace_.empty()) {
        Trace().Stop();
        if (!Trace().SaveTo(PathFromUtf8(trace_)))
            std::fprintf(stderr, "The transfer trace could not be written to %s\n", trace_.c_str());
    }
}

std::optional<int> DeviceSession::Connect(const DevicePorts& ports, std::string& deviceName) {
    const std::string input = ports.useVirtual ? kVirtualKeyboardName : ports.input;
    const std::string output = ports.useVirtual ? kVirtualKeyboardName : ports.output;
    switch (ConnectDeviceByName(trans_, prompt_, input, output, deviceName)) {
        case ConnectOutcome::Connected:
            return std::nullopt;
        case ConnectOutcome::NoSuchInput:
            std::fprintf(stderr, "No input port \"%s\" (see vantrel-cli ports)\n", input.c_str());
            return kExitNoDevice;
        case ConnectOutcome::NoSuchOutput:
            std::fprintf(stderr, "No output port \"%s\" (see vantrel-cli ports)\n", output.c_str());
            return kExitNoDevice;
        case ConnectOutcome::CannotOpen:
        case ConnectOutcome::NoAnswer:
        case ConnectOutcome::Loop:
            break;
    }
    return kExitNoDevice;
}

}  // namespace vantrel::cli
