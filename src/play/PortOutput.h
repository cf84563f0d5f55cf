#pragma once

#include <memory>
#include <string>

#include "device/MidiPortBackend.h"
#include "play/EventOutput.h"

namespace vantrel::play {

// The events sent in real time to a MIDI output port (the keyboard's own voices, a soft
// synthesizer) through the port layer. The port is watched while playing: when it is no longer
// listed, or a send fails, the player stops and says which port went away.
class PortOutput final : public EventOutput {
  public:
    // `port` is an index into the output list or a name (exact, else the one name containing
    // it). Null with the reason when no port or more than one matches, or it does not open.
    static std::unique_ptr<PortOutput> Open(std::unique_ptr<MidiPortBackend> backend,
                                            const std::string& port, std::string& problem);
    ~PortOutput() override;

    bool Send(std::span<const std::uint8_t> message) override;
    bool StillThere() override;
    std::string Problem() const override { return problem_; }
    const std::string& PortName() const { return name_; }

  private:
    PortOutput() = default;
    std::unique_ptr<MidiPortBackend> backend_;
    std::string name_;
    std::string problem_;
};

}  // namespace vantrel::play
