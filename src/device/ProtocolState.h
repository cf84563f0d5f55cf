#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "device/CMidiTrans.h"

namespace vantrel {

// The protocol state every CMidiTrans handle shares, one per process, alive for the whole run
// so that a late reply never meets freed buffers. The reply handler (link worker) writes
// the names before it moves transferState, which it does last; the user-interface thread reads
// the names after it has seen the state.
struct ProtocolState {
    static constexpr std::size_t kReplyBufferSize = 10240;

    std::atomic<TransferState> transferState{TransferState::None};
    // Slot-list entries taken in the running list request; each one restarts its wait.
    std::atomic<std::uint32_t> listEntries{0};
    // The size of the file whose header was sent last (0: none), for the complaint rule.
    std::atomic<std::uint32_t> pendingFileSize{0};
    std::vector<std::uint8_t> replyBuffer;  // unpacked payload of the last accepted message

    std::mutex resultMutex;  // guards the two results below
    std::string deviceName;
    std::vector<std::string> slotNames;
};

ProtocolState& Protocol();

// "HeaderSent", "DataStored", ...: the state's name, for the transfer trace.
const char* TransferStateName(TransferState state);

// Moves the transfer state and records the change in the transfer trace.
void SetTransferState(TransferState state);
// Moves the state from `seen` to `outcome` unless another thread has moved it meanwhile.
bool MoveTransferState(TransferState seen, TransferState outcome);

}  // namespace vantrel
