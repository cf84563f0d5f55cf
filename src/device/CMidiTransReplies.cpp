// The reply handler of CMidiTrans: runs on the link worker for every complete incoming message
// and moves the shared transfer state.
#include <algorithm>

#include "device/CMidiTrans.h"
#include "device/LinkState.h"
#include "device/ProtocolState.h"
#include "device/SysExProtocol.h"

namespace vantrel {

namespace {

using sysex::kStatusBadChecksum;
using sysex::kStatusOk;

// Moves the state from the value the handler saw to the outcome, unless the user-interface
// thread has moved on to another request meanwhile (its new waiting value then stands).
void Announce(TransferState seen, TransferState outcome) {
    (void)MoveTransferState(seen, outcome);
}

TransferState StatusOutcome(std::uint8_t status, TransferState ok, TransferState status2,
                            TransferState other) {
    if (status == kStatusOk)
        return ok;
    return status == kStatusBadChecksum ? status2 : other;
}

void OnConnectReply(const sysex::NamedRecord& record) {
    if (record.status == kStatusOk) {
        {
            ProtocolState& protocol = Protocol();
            const std::lock_guard lock(protocol.resultMutex);
            protocol.deviceName = record.name;
        }
        Announce(TransferState::ConnectSent, TransferState::Connected);
        return;
    }
    Announce(TransferState::ConnectSent,
             StatusOutcome(record.status, TransferState::Connected,
                           TransferState::ConnectFailedStatus2, TransferState::ConnectFailed));
}

// Returns whether the entry was taken (and must be answered).
bool OnSlotListEntry(const sysex::NamedRecord& record) {
    if (record.status == sysex::kStatusEndOfList) {
        Announce(TransferState::ListRequested, TransferState::ListComplete);
        return false;
    }
    if (record.status != kStatusOk)
        return false;
    ProtocolState& protocol = Protocol();
    {
        const std::lock_guard lock(protocol.resultMutex);
        if (record.index == protocol.slotNames.size()) {
            protocol.slotNames.push_back(record.name.empty() ? "Empty" : record.name);
            protocol.listEntries.fetch_add(1);
            return true;
        }
    }
    Announce(TransferState::ListRequested, TransferState::ListOutOfOrder);
    return false;
}

// The request each waiting state belongs to, and its outcomes for status 0, 2 and other.
struct StatusRequest {
    TransferState waiting;
    std::uint8_t command;
    TransferState ok;
    TransferState status2;
    TransferState other;
};

constexpr StatusRequest kStatusRequests[] = {
    {TransferState::HeaderSent, sysex::kCommandFile, TransferState::HeaderAccepted,
     TransferState::HeaderRefusedStatus2, TransferState::HeaderRefused},
    {TransferState::DataSent, sysex::kCommandFile, TransferState::DataStored,
     TransferState::DataFailedStatus2, TransferState::DataFailed},
    {TransferState::DeleteSent, sysex::kCommandDelete, TransferState::Deleted,
     TransferState::DeleteFailedStatus2, TransferState::DeleteFailed},
};

std::uint8_t AwaitedCommand(TransferState state) {
    if (state == TransferState::ConnectSent)
        return sysex::kCommandConnect;
    if (state == TransferState::ListRequested)
        return sysex::kCommandSlotList;
    for (const auto& request : kStatusRequests) {
        if (request.waiting == state)
            return request.command;
    }
    return 0;
}

bool IsWaitingState(TransferState state) {
    return state == TransferState::ConnectSent || state == TransferState::ListRequested ||
           std::any_of(std::begin(kStatusRequests), std::end(kStatusRequests),
                       [state](const StatusRequest& request) { return request.waiting == state; });
}

}  // namespace

void CMidiTrans::OnDeviceMessage(std::span<const std::uint8_t> message) {
    LinkState& link = Link();
    if (sysex::IsAcknowledge(message)) {
        link.packetAcked.store(true);
        return;
    }
    const auto frame = sysex::ParseFrame(message);
    if (!frame)
        return;
    ProtocolState& protocol = Protocol();
    if (frame->carriedChecksum != frame->frameChecksum) {
        if (const auto complaint =
                sysex::MakeComplaint(frame->command, protocol.pendingFileSize.load()))
            SendStatusReply(*complaint);
        return;
    }
    const auto payload =
        frame->payload.first(std::min(frame->payload.size(), 2 * ProtocolState::kReplyBufferSize));
    protocol.replyBuffer = sysex::Unpack(payload);

    const TransferState state = protocol.transferState.load();
    if (!IsWaitingState(state))
        return;
    if (frame->command != AwaitedCommand(state)) {
        Announce(state, TransferState::None);
        return;
    }
    const auto record = sysex::ParseNamedRecord(protocol.replyBuffer);
    if (!record)
        return;  // no status byte: nothing to act on, the wait goes on
    if (state == TransferState::ConnectSent) {
        OnConnectReply(*record);
    } else if (state == TransferState::ListRequested) {
        if (OnSlotListEntry(*record))
            SendStatusReply(sysex::MakeStatusReply(sysex::kCommandSlotList, true));
    } else {
        for (const auto& request : kStatusRequests) {
            if (request.waiting != state)
                continue;
            if (state == TransferState::HeaderSent && record->status == sysex::kStatusCapacity) {
                Announce(state, TransferState::CapacityRefused);
            } else {
                Announce(state,
                         StatusOutcome(record->status, request.ok, request.status2, request.other));
            }
        }
    }
}

}  // namespace vantrel
