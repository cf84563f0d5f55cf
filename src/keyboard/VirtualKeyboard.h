#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "device/SysExProtocol.h"
#include "keyboard/KeyboardLine.h"
#include "keyboard/KeyboardOptions.h"
#include "keyboard/PacketJoiner.h"
#include "keyboard/SlotStore.h"

namespace vantrel {

// Where the keyboard's messages to the computer go, each to be delivered `delay` after the
// keyboard took the packet that caused it. Send is called with the keyboard's lock held, so it
// must only queue the message and never call back into the keyboard.
class KeyboardOutput {
  public:
    virtual ~KeyboardOutput() = default;
    virtual void Send(std::vector<std::uint8_t> message, std::chrono::microseconds delay) = 0;
};

struct KeyboardCounters {
    std::uint32_t packets = 0;         // packets received
    std::uint32_t acknowledges = 0;    // acknowledges sent
    std::uint32_t replies = 0;         // framed replies sent, repeats included
    std::uint32_t checksumErrors = 0;  // messages refused for their checksum
    std::uint32_t statusReplies = 0;   // status replies received from the computer
    std::uint32_t repeats = 0;         // replies sent again after a status reply of 2
};

// The device side of the transfer protocol. Packets from the computer come in through OnPacket,
// on whatever thread receives them (a MIDI input thread); each packet of a message is
// acknowledged, a whole message is checked and answered: connect with the keyboard's name, the
// slot list one entry at a time (the next entry goes out when the computer's status reply for
// the last one arrives), delete, and a download as a header (refused above the capacity) and
// the file data (stored only when its data sum is right and it is a well-formed style image).
// Every public operation may be called from any thread. The timing switches decide when each
// message leaves (the packets are taken at once); see KeyboardTiming.
class VirtualKeyboard {
  public:
    VirtualKeyboard(KeyboardOptions options, KeyboardOutput& output);
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // Reads the store folder and puts the initial slots in place. False when the folder cannot
    // be used or an initial slot does not exist or cannot be stored.
    [[nodiscard]] bool Load();

    void OnPacket(std::span<const std::uint8_t> packet);

    void SetFaults(const KeyboardFaults& faults);
    void SetTiming(const KeyboardTiming& timing);

    std::optional<SlotContent> Slot(std::size_t slot) const;
    std::size_t SlotCount() const;
    std::uint64_t Capacity() const { return capacity_; }
    KeyboardCounters Counters() const;

    // Statuses of the keyboard's replies beyond those every keyboard shares.
    static constexpr std::uint8_t kStatusNoSuchSlot = 3;
    static constexpr std::uint8_t kStatusBadRequest = 4;
    static constexpr std::uint8_t kStatusBadImage = 5;
    static constexpr std::uint8_t kStatusStoreFailed = 8;
    // How often one reply is sent again on status replies of 2.
    static constexpr std::uint32_t kMaxRepeats = 3;

  private:
    struct Download {
        std::uint8_t slot = 0;
        std::uint32_t size = 0;
        std::uint32_t acknowledgesBefore = 0;  // sent before the header's packet
    };
    struct SlotListRun {
        std::vector<std::size_t> order;
        std::size_t next = 0;  // the entry sent last and not yet confirmed
    };

    void OnTakenPacket(std::span<const std::uint8_t> packet);
    // False for a packet lost to a stall or an unplugged cable.
    bool Takes(KeyboardLine::Clock::time_point in);
    void AfterPacket(KeyboardLine::Clock::time_point in);
    KeyboardLine::Clock::duration AckDelay();
    // Queues a message that is ready `ready` after the packet came in.
    void Emit(std::vector<std::uint8_t> message, KeyboardLine::Clock::duration ready, bool ownPath);

    bool IsStatusReply(std::span<const std::uint8_t> message) const;
    void OnStatusReply(std::uint8_t command, std::uint8_t p1);
    void OnMessage(std::span<const std::uint8_t> message);
    void OnConnect(const sysex::FrameView& frame);
    void OnSlotListRequest(const sysex::FrameView& frame);
    void SendSlotListEntry();
    void OnFileHeader(std::span<const std::uint8_t> payload);
    void OnFileData(std::span<const std::uint8_t> payload, std::uint8_t carriedChecksum);
    void OnDelete(const sysex::FrameView& frame);

    void Acknowledge();
    // A new reply: remembered (undamaged) for a repeat, then sent.
    void Reply(std::uint8_t command, std::vector<std::uint8_t> message);
    // Sends a reply or a repeat, damaged when a fault says so.
    void Send(std::uint8_t command, std::vector<std::uint8_t> message);
    void RefuseFile(std::uint8_t status, const std::string& why);
    void Log(const std::string& text) const;

    mutable std::mutex mutex_;
    KeyboardOptions options_;
    KeyboardOutput& output_;
    std::uint64_t capacity_;
    SlotStore store_;
    PacketJoiner joiner_;
    KeyboardFaults faults_;
    std::uint32_t packetNumber_ = 0;  // since the faults were set
    std::uint32_t replyNumber_ = 0;   // since the faults were set
    std::uint32_t ackNumber_ = 0;     // since the faults were set
    KeyboardCounters counters_;
    KeyboardTiming timing_;
    KeyboardLine line_;
    std::minstd_rand jitter_;
    std::uint32_t linePacket_ = 0;  // since the timing was set
    std::optional<KeyboardLine::Clock::time_point> stalledUntil_;
    bool unplugged_ = false;
    KeyboardLine::Clock::time_point taken_{};  // when the packet being handled was taken
    KeyboardLine::Clock::time_point in_{};     // when its last byte was in
    std::optional<Download> download_;
    std::optional<SlotListRun> slotList_;
    std::map<std::uint8_t, std::vector<std::uint8_t>> lastReplies_;  // undamaged, by command
    std::optional<std::uint8_t> damagedCommand_;  // its last reply went out damaged
    std::uint32_t repeatsInARow_ = 0;             // of the last reply
};

}  // namespace vantrel
