#include "pattern/PatternToMidi.h"

#include <algorithm>

namespace vantrel {

namespace {

// The controller value that yields a pan level again when the file is converted.
std::uint8_t PanValue(std::uint8_t level) {
    return level >= 16 ? 127 : static_cast<std::uint8_t>(level * 8);
}

void AddChannelSettings(SmfTrack& track, std::size_t slot, const PatternHeader& header) {
    const ChannelBlock& block = header.blocks[slot];
    const auto channel = static_cast<std::uint8_t>(PatternChannelOfSlot(slot));
    if (header.ports[slot] != 0)
        track.Meta(0, 0x21, {header.ports[slot]});
    track.Channel(0, 0xB0, channel, 0, block.bankMsb);
    track.Channel(0, 0xB0, channel, 32, block.bankLsb);
    track.Channel(0, 0xC0, channel, static_cast<std::uint8_t>(block.program & 0x7F));
    track.Channel(0, 0xB0, channel, 7, block.volume);
    track.Channel(0, 0xB0, channel, 10, PanValue(block.pan));
    track.Channel(0, 0xB0, channel, 91, block.reverb);
}

void AddChannelEvents(SmfTrack& track, const PatternChannel& channel) {
    for (const PatternEvent& event : channel.events) {
        const std::uint8_t kind = event.status & 0xF0;
        if (event.status == 0xFF) {
            track.EndOfTrack(event.time);
        } else if (kind == 0xC0 || kind == 0xD0) {
            track.Raw(event.time, {event.status, event.data1});
        } else {
            track.Raw(event.time, {event.status, event.data1, event.data2});
        }
    }
}

}  // namespace

SmfWriter PatternToMidi(const ControlListEntry& entry, const DecodedPattern& pattern) {
    const PatternHeader& header = entry.header;
    SmfWriter writer(1, kPatternTicksPerQuarter);
    SmfTrack& conductor = writer.AddTrack();
    std::uint32_t end = 0;
    for (const PatternChannel& channel : pattern.channels) {
        if (!channel.events.empty())
            end = std::max(end, channel.events.back().time);
    }
    conductor.TimeSignature(0, header.timeSignature & 0x0F,
                            static_cast<std::uint8_t>(header.timeSignature >> 4));
    if (header.tempo != 0)
        conductor.Tempo(0, 60000000u / header.tempo);
    if (header.kind <= 3) {
        static constexpr char kKinds[] = "spth";
        conductor.Text(0, 0x06, std::string("qz4w") + kKinds[header.kind]);
    }
    conductor.EndOfTrack(end);
    for (const PatternChannel& channel : pattern.channels) {
        const int slot = PatternSlotOfChannel(channel.channel);
        if (slot < 0)
            continue;
        SmfTrack& track = writer.AddTrack();
        AddChannelSettings(track, static_cast<std::size_t>(slot), header);
        AddChannelEvents(track, channel);
    }
    return writer;
}

}  // namespace vantrel
