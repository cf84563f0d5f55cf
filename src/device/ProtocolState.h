#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "device/CMidiTrans.h"

namespace vantrel {

// The protocol state every CMidiTrans handle shares, one per process, alive for the whole run
// so that a late reply never meets freed buffers. The reply handler (MIDI input thread) writes
// the names before it moves transferState, which it does last; the user-interface thread reads
// the names after it has seen the state.
struct ProtocolState {
    static constexpr std::size_t kReplyBufferSize = 10240;

    std::atomic<TransferState> transferState{TransferState::None};
    std::vector<std::uint8_t> replyBuffer;  // unpacked payload of the last accepted message

    std::mutex resultMutex;  // guards the two results below
    std::string deviceName;
    std::vector<std::string> slotNames;
};

ProtocolState& Protocol();

}  // namespace vantrel
