#include "device/DeviceSlots.h"

#include "common/UserPrompt.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/LinkState.h"

namespace vantrel {

bool LinkUsable() {
    return Link().deviceConnected.load() && CMidiDevice::Instance() != nullptr &&
           Link().linkIdle.load();
}

std::vector<std::string> ReadSlotRows(CMidiTrans& trans, UserPrompt& prompt) {
    std::vector<std::string> rows;
    if (!trans.RequestSlotList(rows)) {
        rows.clear();
        prompt.Message("Connection error!");
    }
    return rows;
}

}  // namespace vantrel
