#include "midi/SmfWriter.h"

#include <algorithm>
#include <string_view>

#include "common/AtomicFile.h"
#include "midi/ByteWriter.h"

namespace vantrel {

SmfTrack& SmfTrack::Raw(std::uint32_t tick, std::vector<std::uint8_t> bytes) {
    events_.push_back({tick, std::move(bytes)});
    return *this;
}

SmfTrack& SmfTrack::Channel(std::uint32_t tick, std::uint8_t kind, std::uint8_t channel,
                            std::uint8_t data1, std::uint8_t data2) {
    const auto status = static_cast<std::uint8_t>((kind & 0xF0u) | ((channel - 1u) & 0x0Fu));
    const std::uint8_t high = status & 0xF0u;
    if (high == 0xC0 || high == 0xD0) {
        return Raw(tick, {status, data1});
    }
    return Raw(tick, {status, data1, data2});
}

SmfTrack& SmfTrack::Note(std::uint32_t tick, std::uint8_t channel, std::uint8_t key,
                         std::uint8_t velocity, std::uint32_t length) {
    Channel(tick, 0x90, channel, key, velocity);
    return Channel(tick + length, 0x80, channel, key, 64);
}

SmfTrack& SmfTrack::Meta(std::uint32_t tick, std::uint8_t type,
                         std::vector<std::uint8_t> payload) {
    ByteWriter out;
    out.U8(0xFF);
    out.U8(type);
    out.Vlq(static_cast<std::uint32_t>(payload.size()));
    out.Append(payload);
    return Raw(tick, out.Take());
}

SmfTrack& SmfTrack::Text(std::uint32_t tick, std::uint8_t type, const std::string& text) {
    return Meta(tick, type, std::vector<std::uint8_t>(text.begin(), text.end()));
}

SmfTrack& SmfTrack::Tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter) {
    return Meta(tick, 0x51,
                {static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
                 static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
                 static_cast<std::uint8_t>(microsecondsPerQuarter)});
}

SmfTrack& SmfTrack::TimeSignature(std::uint32_t tick, std::uint8_t numerator,
                                  std::uint8_t denominatorPower) {
    return Meta(tick, 0x58, {numerator, denominatorPower, 24, 8});
}

SmfTrack& SmfTrack::EndOfTrack(std::uint32_t tick) { return Meta(tick, 0x2F, {}); }

std::vector<std::uint8_t> SmfTrack::EncodeData() const {
    std::vector<const Event*> ordered;
    ordered.reserve(events_.size());
    for (const Event& event : events_) ordered.push_back(&event);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Event* a, const Event* b) { return a->tick < b->tick; });
    ByteWriter out;
    std::uint32_t previous = 0;
    for (const Event* event : ordered) {
        out.Vlq(event->tick - previous);
        out.Append(event->bytes);
        previous = event->tick;
    }
    return out.Take();
}

SmfTrack& SmfWriter::AddTrack() { return tracks_.emplace_back(); }

std::vector<std::uint8_t> SmfWriter::Encode() const {
    ByteWriter out;
    out.Append(std::string_view("MThd"));
    out.U32BE(6);
    out.U16BE(format_);
    out.U16BE(static_cast<std::uint16_t>(tracks_.size()));
    out.U16BE(division_);
    for (const SmfTrack& track : tracks_) {
        const std::vector<std::uint8_t> data = track.EncodeData();
        out.Append(std::string_view("MTrk"));
        out.U32BE(static_cast<std::uint32_t>(data.size()));
        out.Append(data);
    }
    return out.Take();
}

bool SmfWriter::Save(const std::filesystem::path& path) const {
    return WriteFileAtomically(path, Encode());
}

}  // namespace vantrel
