#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "keyboard/PacketJoiner.h"
#include "keyboard/SlotStore.h"

namespace vantrel {

inline constexpr const char* kVirtualKeyboardName = "Vantrel Virtual Keyboard";

// Switchable misbehaviour, for testing how the computer's side copes. Packet and reply numbers
// count from 1 and restart whenever the faults are set.
struct KeyboardFaults {
    std::uint32_t dropAckOfPacket = 0;        // never acknowledge this packet (it is still taken)
    std::uint32_t corruptReply = 0;           // send this reply with a wrong checksum
    bool corruptEveryReply = false;           // every reply carries a wrong checksum
    std::chrono::milliseconds replyDelay{0};  // hold every reply back (not the acknowledges)
    bool slotListOutOfOrder = false;          // the slot list starts with entry 1, then entry 0
    bool silent = false;                      // receive everything, answer nothing
    // Return every packet as it came and nothing else, as a port wired back to the computer
    // (a MIDI thru, a loop cable) does.
    bool echo = false;
    // Every lateAckEvery-th acknowledge (counted from 1) goes out lateAckBy late, as on a
    // loaded system that now and then delivers one late; 0: none.
    std::uint32_t lateAckEvery = 0;
    std::chrono::milliseconds lateAckBy{0};

    bool operator==(const KeyboardFaults&) const = default;
};

// How the keyboard's end of the cable behaves in time, as hardware does. Packet numbers count
// every packet that reaches the keyboard, from 1, and restart whenever the timing is set.
struct KeyboardTiming {
    std::chrono::milliseconds ackDelay{0};   // every acknowledge this late,
    std::chrono::milliseconds ackJitter{0};  // give or take up to this much, evenly spread
    // Both directions at 3,125 bytes/s, as a DIN MIDI cable carries them: a packet is in only
    // when its last byte is, and one message leaves after the other.
    bool din = false;
    std::uint32_t stallAfterPacket = 0;      // 0: never stalls
    std::chrono::milliseconds stallFor{0};   // packets arriving meanwhile are lost
    std::uint32_t unplugAfterPacket = 0;     // 0: never; after it nothing is answered, ever
    std::chrono::milliseconds busyReply{0};  // every reply this late; what follows waits for it
    std::uint32_t jitterSeed = 0;            // 0: a different spread on every run

    bool operator==(const KeyboardTiming&) const = default;
};

struct KeyboardOptions {
    std::string name = kVirtualKeyboardName;  // the name the connect reply carries
    std::size_t slotCount = 16;               // 1 to 256
    // Bytes all stored images may take together; a header asking for more (counting the images
    // of the other slots) is refused for capacity. Unset: slotCount full-size style images.
    std::optional<std::uint64_t> capacity;
    // How a packet is known to continue the message before it.
    JoinRule joinRule = JoinRule::ByFrameStart;
    std::filesystem::path storeFolder;                // empty: slots live in memory only
    std::map<std::size_t, SlotContent> initialSlots;  // put into the slots at start
    KeyboardFaults faults;
    KeyboardTiming timing;
    // The keyboard's sense of time; empty: the steady clock. Tests step it by hand.
    std::function<std::chrono::steady_clock::time_point()> clock;
    // Told what the keyboard did (connects, stores, refusals), on the thread that drove it.
    std::function<void(const std::string&)> log;
};

}  // namespace vantrel
