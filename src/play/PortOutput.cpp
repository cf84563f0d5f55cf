#include "play/PortOutput.h"

#include <algorithm>

#include "device/DeviceConnector.h"

namespace vantrel::play {

std::unique_ptr<PortOutput> PortOutput::Open(std::unique_ptr<MidiPortBackend> backend,
                                             const std::string& port, std::string& problem) {
    const std::vector<std::string> names = backend->OutputPortNames();
    std::vector<PortEntry> entries;
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back({static_cast<std::int32_t>(i), names[i]});
    const auto index = FindPort(entries, port);
    if (!index) {
        problem = "No MIDI output port \"" + port + "\" (or more than one matches); ";
        if (names.empty()) {
            problem += "there is no output port at all";
        } else {
            problem += "the output ports are:";
            for (const auto& name : names)
                problem += "\n  " + name;
        }
        return nullptr;
    }
    if (!backend->OpenOutput(*index)) {
        problem = "MIDI output port \"" + names[*index] + "\" cannot be opened";
        return nullptr;
    }
    std::unique_ptr<PortOutput> output(new PortOutput);
    output->backend_ = std::move(backend);
    output->name_ = names[*index];
    return output;
}

PortOutput::~PortOutput() {
    (void)backend_->CloseOutput();
}

bool PortOutput::Send(std::span<const std::uint8_t> message) {
    if (backend_->Send(message))
        return true;
    problem_ = "MIDI output port \"" + name_ + "\" went away while playing";
    return false;
}

bool PortOutput::StillThere() {
    const std::vector<std::string> names = backend_->OutputPortNames();
    if (std::find(names.begin(), names.end(), name_) != names.end())
        return true;
    problem_ = "MIDI output port \"" + name_ + "\" went away while playing";
    return false;
}

}  // namespace vantrel::play
