#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "device/SysExProtocol.h"

namespace vantrel {

// How the link paces and repeats a transfer, for keyboards slower than the defaults assume
// (a DIN cable at 3,125 bytes/s, a keyboard that pauses to write its memory, a loaded system
// that delivers acknowledges late). One set per process, applied before a transfer starts.
struct LinkOptions {
    static constexpr std::chrono::milliseconds kDefaultAckTimeout{100};
    static constexpr int kDefaultRetries = 2;
    static constexpr std::chrono::milliseconds kMaxAckTimeout{10000};
    static constexpr std::chrono::milliseconds kMaxPacketGap{1000};
    static constexpr int kMaxRetries = 10;

    // How long each packet's acknowledge is awaited.
    std::chrono::milliseconds ackTimeout = kDefaultAckTimeout;
    // How often a download that lost an acknowledge is sent again from its file header.
    int retries = kDefaultRetries;
    // A pause after each acknowledge before the next packet of the same message.
    std::chrono::milliseconds packetGap{0};
    sysex::ManufacturerIdBytes manufacturerId = sysex::kManufacturerId;

    bool operator==(const LinkOptions&) const = default;

    // Values outside the ranges above are brought into them.
    LinkOptions Clamped() const;
};

void ApplyLinkOptions(const LinkOptions& options);
LinkOptions CurrentLinkOptions();

// After a download lost an acknowledge: long enough for a keyboard to give up the unfinished
// message (and for a late acknowledge to arrive) before the file header goes out again.
std::chrono::milliseconds RetrySettlePause(std::chrono::milliseconds ackTimeout);

}  // namespace vantrel
