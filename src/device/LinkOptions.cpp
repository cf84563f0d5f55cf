#include "device/LinkOptions.h"

#include <algorithm>

#include "device/LinkState.h"

namespace vantrel {

LinkOptions LinkOptions::Clamped() const {
    LinkOptions clamped = *this;
    clamped.ackTimeout = std::clamp(ackTimeout, std::chrono::milliseconds(1), kMaxAckTimeout);
    clamped.packetGap = std::clamp(packetGap, std::chrono::milliseconds(0), kMaxPacketGap);
    clamped.retries = std::clamp(retries, 0, kMaxRetries);
    return clamped;
}

void ApplyLinkOptions(const LinkOptions& options) {
    const LinkOptions clamped = options.Clamped();
    LinkState& link = Link();
    link.ackTimeoutMs.store(static_cast<int>(clamped.ackTimeout.count()));
    link.packetGapMs.store(static_cast<int>(clamped.packetGap.count()));
    link.downloadRetries.store(clamped.retries);
    sysex::SetManufacturerId(clamped.manufacturerId);
}

LinkOptions CurrentLinkOptions() {
    const LinkState& link = Link();
    LinkOptions options;
    options.ackTimeout = std::chrono::milliseconds(link.ackTimeoutMs.load());
    options.packetGap = std::chrono::milliseconds(link.packetGapMs.load());
    options.retries = link.downloadRetries.load();
    options.manufacturerId = sysex::ManufacturerId();
    return options;
}

std::chrono::milliseconds RetrySettlePause(std::chrono::milliseconds ackTimeout) {
    return std::max(std::chrono::milliseconds(500), 5 * ackTimeout);
}

}  // namespace vantrel
