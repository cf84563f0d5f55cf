#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

// Builds Standard MIDI Files from events. Used to write example styles, to turn decoded pattern
// data back into MIDI files, and by the tests to make every input they read.
class SmfTrack {
public:
    // Raw bytes placed after the delta time exactly as given (status byte optional, so running
    // status and malformed events can be written on purpose).
    SmfTrack& Raw(std::uint32_t tick, std::vector<std::uint8_t> bytes);
    // A channel message; channel counts from 1 (1..16), as musicians number them.
    SmfTrack& Channel(std::uint32_t tick, std::uint8_t kind, std::uint8_t channel,
                      std::uint8_t data1, std::uint8_t data2 = 0);
    // Note on at tick and note off (0x8n, velocity 64) at tick + length.
    SmfTrack& Note(std::uint32_t tick, std::uint8_t channel, std::uint8_t key,
                   std::uint8_t velocity, std::uint32_t length);
    SmfTrack& Meta(std::uint32_t tick, std::uint8_t type, std::vector<std::uint8_t> payload);
    SmfTrack& Text(std::uint32_t tick, std::uint8_t type, const std::string& text);
    SmfTrack& Tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
    // denominatorPower: 2 for a quarter, 3 for an eighth.
    SmfTrack& TimeSignature(std::uint32_t tick, std::uint8_t numerator,
                            std::uint8_t denominatorPower);
    SmfTrack& EndOfTrack(std::uint32_t tick);

    // Events ordered by tick (equal ticks keep the order they were added in), each preceded by
    // its delta time.
    std::vector<std::uint8_t> EncodeData() const;

private:
    struct Event {
        std::uint32_t tick;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Event> events_;
};

class SmfWriter {
public:
    SmfWriter(std::uint16_t format, std::uint16_t division) : format_(format), division_(division) {}

    SmfTrack& AddTrack();
    std::vector<std::uint8_t> Encode() const;
    // Writes to a temporary name beside path and renames it, so no half-written file is left.
    bool Save(const std::filesystem::path& path) const;

private:
    std::uint16_t format_;
    std::uint16_t division_;
    std::vector<SmfTrack> tracks_;
};

}  // namespace vantrel
