#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "midi/ByteReader.h"
#include "midi/MidiEvent.h"
#include "midi/SmfHeader.h"
#include "midi/TrackWalk.h"

namespace vantrel {

// The events of every track of one file image, four bytes each: the status in force and where
// the event starts in the image (for a meta event, which of the store's copies it is, since its
// type byte and payload are not side by side in the file). An event's data bytes are read back
// from the image when it is asked for, and its time is the sum of the delta times before it; the
// time of every 16th event is kept, so that any time is at most 15 deltas away. Songs hold an
// event in every three to four bytes, so the store stays near the size of the file itself.
//
// Offsets into the image take 24 bits: images are at most 16 MiB (kMaxMidiFileSize).
class EventStore {
  public:
    struct Totals {
        std::size_t events = 0;
        std::size_t metaEvents = 0;
        std::size_t metaBytes = 0;  // type bytes and payloads of every meta event
    };

    EventStore() = default;
    ~EventStore();
    EventStore(const EventStore&) = delete;
    EventStore& operator=(const EventStore&) = delete;

    // Begins filling from image, with room for totals and nothing more; every list is
    // reserved here and never grows, so the memory taken is what room asks.
    void Start(std::span<const std::uint8_t> image, std::size_t trackCount, const Totals& room);
    // Adds the next event WalkTrack read in chunk, the chunk of track; tracks come in order.
    // False, and nothing added, when the room given to Start is full.
    bool Add(std::size_t track, const TrackChunk& chunk, const TrackEventView& view);
    // Ends the fill: tracks after the last one with an event are empty.
    void Finish(std::size_t trackCount);
    // Clear, and the memory kept for the next store on this thread is freed too.
    void Release();
    // Forgets everything; the lists' memory is kept on this thread for the next store.
    void Clear();

    std::size_t TrackCount() const { return bounds_.empty() ? 0 : bounds_.size() - 1; }
    std::size_t EventCount() const { return bounds_.empty() ? 0 : bounds_.back(); }
    std::size_t TrackBegin(std::size_t track) const { return bounds_[track]; }
    std::size_t TrackEnd(std::size_t track) const { return bounds_[track + 1]; }
    // Some track's time passed 2^32 and wrapped, so that track is not in time order.
    bool AnyTimeWrapped() const { return timeWrapped_; }

    // The delta time of the event at index (an index over all tracks).
    std::uint32_t DeltaAt(std::size_t index) const {
        ByteReader in(image_);
        in.Seek(StartOf(records_[index]));
        return in.Vlq().value_or(0);
    }
    // The time of the event at index, in the track whose first event is at trackBegin.
    std::uint32_t TimeAt(std::size_t index, std::size_t trackBegin) const;
    // The event at index, in the track whose first event is at trackBegin.
    MidiEvent EventAt(std::size_t index, std::size_t trackBegin) const {
        return EventAfter(index, index == trackBegin ? 0 : TimeAt(index - 1, trackBegin));
    }
    // The event at index when the event before it in its track is at timeBefore (0 for a
    // track's first event). Walking a track this way reads each event's bytes once.
    MidiEvent EventAfter(std::size_t index, std::uint32_t timeBefore) const {
        const std::uint32_t record = records_[index];
        const auto status = static_cast<std::uint8_t>(record & 0xFFu);
        if (status >= 0xF0)
            return SystemEventAfter(record, timeBefore);
        // Every stored event was read whole before, so these reads succeed.
        ByteReader in(image_);
        in.Seek(record >> kStatusBits);
        const std::uint32_t delta = in.Vlq().value_or(0);
        in.Skip((in.Peek().value_or(0) & 0x80u) != 0 ? 1 : 0);
        const auto data = in.Bytes(status < 0xC0 || status >= 0xE0 ? 2 : 1);
        return {timeBefore + delta, status, data.value_or(std::span<const std::uint8_t>{})};
    }

  private:
    static constexpr std::uint32_t kStatusBits = 8;
    static constexpr std::size_t kBlockSize = 16;  // a time kept for every 16 events
    static std::size_t BlocksFor(std::size_t events) { return events / kBlockSize + 1; }

    struct MetaCopy {
        std::uint32_t start = 0;  // where the event starts in the image
        std::uint32_t bytes = 0;  // where its type byte and payload begin in metaBytes_
    };

    std::uint32_t StartOf(std::uint32_t record) const {
        const std::uint32_t where = record >> kStatusBits;
        return (record & 0xFFu) == 0xFF ? metas_[where].start : where;
    }
    MidiEvent SystemEventAfter(std::uint32_t record, std::uint32_t timeBefore) const;

    std::span<const std::uint8_t> image_;
    std::vector<std::uint32_t> records_;     // (start or copy number) << 8 | status
    std::vector<std::uint32_t> blockTimes_;  // time of records_[16 * i]
    std::vector<MetaCopy> metas_;
    std::vector<std::uint8_t> metaBytes_;
    std::vector<std::size_t> bounds_;  // track i is records_[bounds_[i], bounds_[i + 1])
    bool timeWrapped_ = false;
    std::uint32_t previousTime_ = 0;  // of the last event added
};

inline bool EventStore::Add(std::size_t track, const TrackChunk& chunk,
                            const TrackEventView& view) {
    if (track + 1 != bounds_.size()) {
        while (bounds_.size() < track + 1)
            bounds_.push_back(records_.size());
        previousTime_ = 0;
    }
    const bool meta = view.IsMeta();
    const bool newBlock = (records_.size() & (kBlockSize - 1)) == 0;
    if (records_.size() == records_.capacity() ||
        (newBlock && blockTimes_.size() == blockTimes_.capacity()) ||
        (meta && (metas_.size() == metas_.capacity() ||
                  metaBytes_.capacity() - metaBytes_.size() < 1 + view.body.size())))
        return false;
    if (newBlock)
        blockTimes_.push_back(view.time);
    timeWrapped_ = timeWrapped_ || view.time < previousTime_;
    previousTime_ = view.time;
    auto where = static_cast<std::uint32_t>(chunk.DataStart() + view.offset);
    if (meta) {
        metas_.push_back({where, static_cast<std::uint32_t>(metaBytes_.size())});
        metaBytes_.insert(metaBytes_.end(), view.lead.begin(), view.lead.end());
        metaBytes_.insert(metaBytes_.end(), view.body.begin(), view.body.end());
        where = static_cast<std::uint32_t>(metas_.size() - 1);
    }
    records_.push_back(where << kStatusBits | view.status);
    return true;
}

}  // namespace vantrel
