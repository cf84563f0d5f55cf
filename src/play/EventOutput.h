#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vantrel::play {

// Where a performance's events go: a synthesizer, a MIDI port. Every call comes from the
// player's thread while a performance plays (and from the owner's thread only when no player
// uses the output).
class EventOutput {
  public:
    EventOutput() = default;
    virtual ~EventOutput() = default;
    EventOutput(const EventOutput&) = delete;
    EventOutput& operator=(const EventOutput&) = delete;

    // One channel message (1 to 3 bytes). False when the output has gone away (a port that
    // vanished): the player then stops and reports Problem().
    [[nodiscard]] virtual bool Send(std::span<const std::uint8_t> message) = 0;

    // Asked between events, a few times a second: false when the output can no longer play (the
    // port is no longer listed). Problem() then says why.
    [[nodiscard]] virtual bool StillThere() { return true; }

    // Why the output stopped working, naming it; empty while it works.
    virtual std::string Problem() const { return {}; }
};

}  // namespace vantrel::play
