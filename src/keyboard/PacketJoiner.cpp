#include "keyboard/PacketJoiner.h"

#include <algorithm>
#include <utility>

namespace vantrel {

namespace {

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;

}  // namespace

PacketJoiner::PacketJoiner(std::vector<std::uint8_t> frameStart, std::size_t maxMessage,
                           JoinRule rule)
    : frameStart_(std::move(frameStart)), maxMessage_(maxMessage), rule_(rule) {}

PacketJoiner::Result PacketJoiner::Add(std::span<const std::uint8_t> packet) {
    message_.clear();
    if (packet.size() < 2 || packet.front() != kSysExStart || packet.back() != kSysExEnd ||
        packet.size() > kPacketSize) {
        return Result::Dropped;
    }
    if (rule_ == JoinRule::ByLength)
        return AddByLength(packet);
    // A full packet whose byte 46 is not F7h is cut from the middle of a longer message; with
    // an F7h there it carries a 47-byte message's own end plus the appended one.
    const bool full = packet.size() == kPacketSize;
    const bool continues = full && packet[kPacketSize - 2] != kSysExEnd;
    const std::span<const std::uint8_t> body = full ? packet.first(kPacketSize - 1) : packet;
    // Between its F0h and F7h a SysEx message holds data bytes only.
    const auto inner = body.subspan(1, body.size() - 2);
    if (std::any_of(inner.begin(), inner.end(), [](std::uint8_t b) { return b >= 0x80; })) {
        return Result::Dropped;
    }

    const bool opens = packet.size() >= frameStart_.size() &&
                       std::equal(frameStart_.begin(), frameStart_.end(), packet.begin());
    if (opens) {
        partial_.clear();
        if (continues) {
            partial_.assign(body.begin(), body.end());
            return Result::Piece;
        }
        return Finish(body);
    }
    if (partial_.empty())
        return Result::Dropped;
    return Continue(body.subspan(1), continues);
}

PacketJoiner::Result PacketJoiner::AddByLength(std::span<const std::uint8_t> packet) {
    const bool continues = packet.size() == kPacketSize;
    const std::span<const std::uint8_t> body = continues ? packet.first(kPacketSize - 1) : packet;
    if (partial_.empty()) {
        if (continues) {
            partial_.assign(body.begin(), body.end());
            return Result::Piece;
        }
        return Finish(body);
    }
    return Continue(body.subspan(1), continues);
}

PacketJoiner::Result PacketJoiner::Continue(std::span<const std::uint8_t> data, bool continues) {
    if (partial_.size() + data.size() > maxMessage_) {
        partial_.clear();
        return Result::Dropped;
    }
    if (continues) {
        partial_.insert(partial_.end(), data.begin(), data.end());
        return Result::Piece;
    }
    return Finish(data);
}

PacketJoiner::Result PacketJoiner::Finish(std::span<const std::uint8_t> tail) {
    message_ = std::move(partial_);
    partial_.clear();
    message_.insert(message_.end(), tail.begin(), tail.end());
    if (message_.size() > maxMessage_) {
        message_.clear();
        return Result::Dropped;
    }
    return Result::Message;
}

}  // namespace vantrel
