#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi/ByteReader.h"
#include "midi/SmfHeader.h"

namespace vantrel {

// One event as it stands in a track's bytes, before anything is stored. lead is the meta type
// byte of a meta event and empty otherwise; body holds the other data bytes. Both point into
// the file image, so the walk itself never allocates.
struct TrackEventView {
    std::size_t offset = 0;  // where the event's delta time starts in the walked data
    std::uint32_t time = 0;
    std::uint8_t status = 0;
    std::span<const std::uint8_t> lead;
    std::span<const std::uint8_t> body;

    bool IsMeta() const { return status == 0xFF; }
    bool IsEndOfTrack() const { return IsMeta() && lead[0] == 0x2F && body.empty(); }
};

namespace track_walk {

// Reads the data bytes of one event under status; false for a truncated event. A system-
// exclusive event (F0 or F7) takes the raw bytes up to and including the first F7 without
// decoding the length quantity the file puts first; with no F7 before the end of the chunk it
// counts as truncated.
inline bool ReadEventData(ByteReader& in, TrackEventView& event) {
    const std::uint8_t status = event.status;
    std::optional<std::span<const std::uint8_t>> body;
    if (status < 0xC0 || (status >= 0xE0 && status < 0xF0)) {
        body = in.Bytes(2);
    } else if (status < 0xE0) {
        body = in.Bytes(1);
    } else if (status == 0xF0 || status == 0xF7) {
        const auto rest = in.Data().subspan(in.Position());
        const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0xF7});
        if (end == rest.end())
            return false;
        body = in.Bytes(static_cast<std::size_t>(end - rest.begin()) + 1);
    } else {
        if (status == 0xFF) {
            const auto type = in.Bytes(1);
            if (!type)
                return false;
            event.lead = *type;
        }
        const auto count = in.Vlq();
        if (!count)
            return false;
        body = in.Bytes(*count);
    }
    if (!body)
        return false;
    event.body = *body;
    return true;
}

}  // namespace track_walk

// Walks the data of one track chunk and calls visit(const TrackEventView&) for every complete
// event in file order; visit answers false to stop. Every status byte, 0xF0, 0xF7 and 0xFF
// included, becomes the running status. The walk stops at a data byte with no running status,
// a truncated event, or a length quantity longer than four bytes. Answers the offset of the
// event it stopped at: data.size() when every event was read.
template <typename Visit>
std::size_t WalkTrack(std::span<const std::uint8_t> data, Visit&& visit) {
    ByteReader in(data);
    std::uint32_t time = 0;
    std::uint8_t runningStatus = 0;
    while (!in.AtEnd()) {
        const std::size_t eventStart = in.Position();
        const auto delta = in.Vlq();
        const auto next = in.Peek();
        if (!delta || !next)
            return eventStart;
        time += *delta;  // wraps as unsigned 32-bit, as merging compares it
        // Written without a branch: songs mix running and explicit status unpredictably.
        const bool isStatus = (*next & 0x80u) != 0;
        runningStatus = isStatus ? *next : runningStatus;
        in.Skip(isStatus ? 1 : 0);
        if (runningStatus == 0)
            return eventStart;
        TrackEventView event;
        event.offset = eventStart;
        event.time = time;
        event.status = runningStatus;
        if (!track_walk::ReadEventData(in, event) || !visit(event))
            return eventStart;
    }
    return data.size();
}

// A track chunk that holds bytes but whose events do not end with End of Track. Only a chunk of
// length 0 is an empty track.
struct TrackDamage {
    std::size_t track = 0;
    std::size_t stopOffset = 0;  // where the walk stopped, from the start of the chunk's data
    std::size_t length = 0;      // the chunk's data bytes
    std::size_t eventsRead = 0;

    // Bytes were left unread: events were lost, not only the End of Track.
    bool EventsLost() const { return stopOffset < length; }
};

// The data bytes of a track chunk, as far as the image holds them.
inline std::span<const std::uint8_t> ChunkData(std::span<const std::uint8_t> image,
                                               const TrackChunk& chunk) {
    if (chunk.DataStart() > image.size())
        return {};
    return image.subspan(chunk.DataStart(),
                         std::min<std::size_t>(chunk.length, image.size() - chunk.DataStart()));
}

// What the file browser's song name depends on besides the header.
struct TracksSummary {
    std::string firstMetaText;  // payload of the first meta event, up to its first zero byte
    bool firstMetaCaptured = false;
    bool allTracksEnd = true;  // every track chunk with bytes ends with End of Track
    std::vector<TrackDamage> damaged;
};

// Walks every chunk in track order; visit(trackIndex, event) answers whether it kept the event
// (false ends that track, as when memory runs out). Only kept events count for the summary.
template <typename Visit>
TracksSummary WalkTracks(std::span<const std::uint8_t> image, std::span<const TrackChunk> chunks,
                         Visit&& visit) {
    TracksSummary summary;
    for (std::size_t track = 0; track < chunks.size(); ++track) {
        if (chunks[track].DataStart() > image.size())
            continue;
        const auto data = ChunkData(image, chunks[track]);
        std::size_t kept = 0;
        bool lastWasEnd = false;
        const std::size_t stop = WalkTrack(data, [&](const TrackEventView& event) {
            if (!visit(track, event))
                return false;
            ++kept;
            lastWasEnd = event.IsEndOfTrack();
            if (!summary.firstMetaCaptured && event.IsMeta()) {
                const auto zero = std::find(event.body.begin(), event.body.end(), std::uint8_t{0});
                summary.firstMetaText.assign(event.body.begin(), zero);
                summary.firstMetaCaptured = true;
            }
            return true;
        });
        if (!data.empty() && !lastWasEnd) {
            summary.allTracksEnd = false;
            summary.damaged.push_back({track, stop, data.size(), kept});
        }
    }
    return summary;
}

}  // namespace vantrel
