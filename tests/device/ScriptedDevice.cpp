#include "ScriptedDevice.h"

#include "device/SysExProtocol.h"

namespace vantrel::test {

bool IsStatusReply(const Bytes& message) {
    if (message.size() != sysex::kShortFormSize)
        return false;
    const std::uint8_t command = message[sysex::kCommandOffset];
    const std::uint8_t p1 = message[sysex::kPayloadOffset];
    return (command == sysex::kCommandSlotList && p1 == 0) || p1 == sysex::kStatusBadChecksum;
}

FakePortBackend::Responder ScriptedDevice::Responder() {
    return [this](std::span<const std::uint8_t> packet) { return Take(packet); };
}

std::vector<Bytes> ScriptedDevice::Take(std::span<const std::uint8_t> packet) {
    // First packet whole; later ones without their leading F0h; a full 48-byte packet ends
    // with an F7h that is not the message's own.
    const bool first = pending_.empty();
    pending_.insert(pending_.end(), packet.begin() + (first ? 0 : 1), packet.end());
    const bool more = packet.size() == 48;
    if (more)
        pending_.pop_back();
    const Bytes message = more ? Bytes{} : pending_;
    if (!more)
        pending_.clear();

    if (!more && IsStatusReply(message)) {
        statusReplies.push_back(message);
        return {};
    }
    std::vector<Bytes> answers;
    if (++packets_ != dropAckOfPacket) {
        const auto ack = sysex::AcknowledgeMessage();
        answers.emplace_back(ack.begin(), ack.end());
    }
    if (more)
        return answers;
    requests.push_back(message);
    if (onRequest) {
        for (auto& reply : onRequest(message))
            answers.push_back(std::move(reply));
    }
    return answers;
}

}  // namespace vantrel::test
