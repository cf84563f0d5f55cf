#include "device/ProtocolState.h"

#include <string>

#include "device/LinkTrace.h"

namespace vantrel {

ProtocolState& Protocol() {
    static ProtocolState state;
    return state;
}

const char* TransferStateName(TransferState state) {
    switch (state) {
        case TransferState::None:
            return "None";
        case TransferState::ConnectSent:
            return "ConnectSent";
        case TransferState::Connected:
            return "Connected";
        case TransferState::ConnectFailedStatus2:
            return "ConnectFailedStatus2";
        case TransferState::ConnectFailed:
            return "ConnectFailed";
        case TransferState::ListRequested:
            return "ListRequested";
        case TransferState::ListComplete:
            return "ListComplete";
        case TransferState::ListOutOfOrder:
            return "ListOutOfOrder";
        case TransferState::HeaderSent:
            return "HeaderSent";
        case TransferState::HeaderAccepted:
            return "HeaderAccepted";
        case TransferState::CapacityRefused:
            return "CapacityRefused";
        case TransferState::HeaderRefusedStatus2:
            return "HeaderRefusedStatus2";
        case TransferState::HeaderRefused:
            return "HeaderRefused";
        case TransferState::DataSent:
            return "DataSent";
        case TransferState::DataStored:
            return "DataStored";
        case TransferState::DataFailedStatus2:
            return "DataFailedStatus2";
        case TransferState::DataFailed:
            return "DataFailed";
        case TransferState::DeleteSent:
            return "DeleteSent";
        case TransferState::Deleted:
            return "Deleted";
        case TransferState::DeleteFailedStatus2:
            return "DeleteFailedStatus2";
        case TransferState::DeleteFailed:
            return "DeleteFailed";
    }
    return "Unknown";
}

namespace {

void TraceChange(TransferState from, TransferState to) {
    if (Trace().Recording())
        Trace().Event(std::string(TransferStateName(from)) + " -> " + TransferStateName(to));
}

}  // namespace

void SetTransferState(TransferState state) {
    TraceChange(Protocol().transferState.exchange(state), state);
}

bool MoveTransferState(TransferState seen, TransferState outcome) {
    const TransferState from = seen;
    if (!Protocol().transferState.compare_exchange_strong(seen, outcome))
        return false;
    TraceChange(from, outcome);
    return true;
}

}  // namespace vantrel
