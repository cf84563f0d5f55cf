#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "device/MidiPortBackend.h"

namespace vantrel {

// Several backends behind one port list: the ports of the first backend, then those of the
// second, and so on (the system's ports followed by the in-process virtual keyboard's pair).
// An index is resolved against the lists as they are when a port is opened.
class CompositePortBackend final : public MidiPortBackend {
  public:
    CompositePortBackend() = default;
    explicit CompositePortBackend(std::vector<std::shared_ptr<MidiPortBackend>> parts);
    ~CompositePortBackend() override;

    void Add(std::shared_ptr<MidiPortBackend> part);

    [[nodiscard]] std::vector<std::string> InputPortNames() override;
    [[nodiscard]] std::vector<std::string> OutputPortNames() override;
    [[nodiscard]] bool OpenInput(std::size_t index, MidiInputConfig config) override;
    [[nodiscard]] bool StartInput() override;
    [[nodiscard]] bool StopInput() override;
    [[nodiscard]] bool CloseInput() override;
    [[nodiscard]] bool OpenOutput(std::size_t index) override;
    [[nodiscard]] bool CloseOutput() override;
    [[nodiscard]] bool Send(std::span<const std::uint8_t> bytes) override;

  private:
    struct Target {
        MidiPortBackend* part;
        std::size_t index;
    };
    std::vector<std::string> Names(bool input);
    std::optional<Target> Resolve(std::size_t index, bool input);

    std::vector<std::shared_ptr<MidiPortBackend>> parts_;
    MidiPortBackend* openInput_ = nullptr;
    MidiPortBackend* openOutput_ = nullptr;
};

}  // namespace vantrel
