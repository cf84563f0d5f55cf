#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "FakePortBackend.h"

namespace vantrel::test {

// The device's side for protocol tests: joins the computer's packets into messages (a 48-byte
// packet is followed by more), acknowledges every packet of a request, and answers each whole
// request with what `onRequest` returns. The computer's status replies are recorded but, as on
// the device, neither acknowledged nor answered.
struct ScriptedDevice {
    std::function<std::vector<Bytes>(const Bytes& request)> onRequest;
    std::uint32_t dropAckOfPacket = 0;  // counting from 1; 0 drops none

    // Filled as the computer sends (read after the operation returned).
    std::vector<Bytes> requests;
    std::vector<Bytes> statusReplies;

    FakePortBackend::Responder Responder();

  private:
    std::vector<Bytes> Take(std::span<const std::uint8_t> packet);

    Bytes pending_;
    std::uint32_t packets_ = 0;
};

// True for a computer's status reply: a short form for 12h with P1 = 0, or any with P1 = 2.
bool IsStatusReply(const Bytes& message);

}  // namespace vantrel::test
