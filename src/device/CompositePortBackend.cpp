#include "device/CompositePortBackend.h"

#include <utility>

namespace vantrel {

CompositePortBackend::CompositePortBackend(std::vector<std::shared_ptr<MidiPortBackend>> parts)
    : parts_(std::move(parts)) {}

CompositePortBackend::~CompositePortBackend() {
    (void)CloseInput();
    (void)CloseOutput();
}

void CompositePortBackend::Add(std::shared_ptr<MidiPortBackend> part) {
    if (part)
        parts_.push_back(std::move(part));
}

namespace {

std::vector<std::string> PartNames(MidiPortBackend& part, bool input) {
    return input ? part.InputPortNames() : part.OutputPortNames();
}

}  // namespace

std::vector<std::string> CompositePortBackend::Names(bool input) {
    std::vector<std::string> names;
    for (const auto& part : parts_) {
        auto partNames = PartNames(*part, input);
        names.insert(names.end(), partNames.begin(), partNames.end());
    }
    return names;
}

std::vector<std::string> CompositePortBackend::InputPortNames() {
    return Names(true);
}

std::vector<std::string> CompositePortBackend::OutputPortNames() {
    return Names(false);
}

std::optional<CompositePortBackend::Target> CompositePortBackend::Resolve(std::size_t index,
                                                                          bool input) {
    for (const auto& part : parts_) {
        const std::size_t count = PartNames(*part, input).size();
        if (index < count)
            return Target{part.get(), index};
        index -= count;
    }
    return std::nullopt;
}

bool CompositePortBackend::OpenInput(std::size_t index, MidiInputConfig config) {
    if (openInput_ != nullptr)
        return false;
    const auto target = Resolve(index, true);
    if (!target || !target->part->OpenInput(target->index, std::move(config)))
        return false;
    openInput_ = target->part;
    return true;
}

bool CompositePortBackend::StartInput() {
    return openInput_ != nullptr && openInput_->StartInput();
}

bool CompositePortBackend::StopInput() {
    return openInput_ == nullptr || openInput_->StopInput();
}

bool CompositePortBackend::CloseInput() {
    if (openInput_ == nullptr)
        return true;
    if (!openInput_->CloseInput())
        return false;
    openInput_ = nullptr;
    return true;
}

bool CompositePortBackend::OpenOutput(std::size_t index) {
    if (openOutput_ != nullptr)
        return false;
    const auto target = Resolve(index, false);
    if (!target || !target->part->OpenOutput(target->index))
        return false;
    openOutput_ = target->part;
    return true;
}

bool CompositePortBackend::CloseOutput() {
    if (openOutput_ == nullptr)
        return true;
    if (!openOutput_->CloseOutput())
        return false;
    openOutput_ = nullptr;
    return true;
}

bool CompositePortBackend::Send(std::span<const std::uint8_t> bytes) {
    return openOutput_ != nullptr && openOutput_->Send(bytes);
}

}  // namespace vantrel
