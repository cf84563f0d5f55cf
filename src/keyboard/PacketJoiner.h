#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel {

// How a keyboard tells that a packet continues the message before it.
enum class JoinRule {
    // A packet that opens with the protocol's frame header starts a new message and discards a
    // partial one (left over when the computer gave up after a lost acknowledge); message data
    // bytes are below 80h, so a continuation packet never looks like one.
    ByFrameStart,
    // As a simple firmware does: every 48-byte packet continues the message, whatever it holds,
    // and the first shorter packet ends it. A message the computer cut short therefore swallows
    // whatever comes next until a short packet arrives.
    ByLength,
};

// Joins the packets the computer sends back into whole System Exclusive messages. A message of
// up to 46 bytes arrives as itself. A longer one arrives as 48-byte packets, F0h + the next 46
// bytes of the message + F7h (the first carries the message's own F0h and its first 46 bytes
// after it), and a last, shorter packet F0h + the rest ending with the message's own F7h. A
// 47-byte message arrives as one 48-byte packet: the message followed by an extra F7h (under
// JoinRule::ByLength it waits for the next packet like any full one). Pure state machine.
class PacketJoiner {
  public:
    enum class Result {
        Piece,    // a packet of a message that continues; nothing complete yet
        Message,  // Message() holds a complete message until the next Add
        Dropped,  // not a SysEx packet of data bytes, a continuation with nothing to
                  // continue, or too long
    };

    // frameStart: the bytes every message of the protocol opens with (F0h onwards).
    // maxMessage: longest message accepted; a longer one is dropped whole.
    PacketJoiner(std::vector<std::uint8_t> frameStart, std::size_t maxMessage,
                 JoinRule rule = JoinRule::ByFrameStart);

    Result Add(std::span<const std::uint8_t> packet);
    const std::vector<std::uint8_t>& Message() const { return message_; }
    bool Partial() const { return !partial_.empty(); }
    void Reset() { partial_.clear(); }

    static constexpr std::size_t kPacketSize = 48;

  private:
    Result AddByLength(std::span<const std::uint8_t> packet);
    // Appends a continuation's bytes after its F0h (without the F7h a full packet closes with).
    Result Continue(std::span<const std::uint8_t> data, bool continues);
    Result Finish(std::span<const std::uint8_t> tail);

    std::vector<std::uint8_t> frameStart_;
    std::size_t maxMessage_;
    JoinRule rule_;
    std::vector<std::uint8_t> partial_;
    std::vector<std::uint8_t> message_;
};

}  // namespace vantrel
