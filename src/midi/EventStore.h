#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "midi/MidiEvent.h"
#include "midi/SmfHeader.h"

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

    // Stores what WalkTrack yields for every chunk of image, in track order; totals come from
    // a walk already made and size every list exactly. The image must outlive the store's use.
    // Throws std::bad_alloc when memory runs out (the store is then cleared).
    void Fill(std::span<const std::uint8_t> image, std::span<const TrackChunk> chunks,
              const Totals& totals);
    // Forgets everything; the lists' memory is kept on this thread for the next store.
    void Clear();

    std::size_t TrackCount() const { return bounds_.empty() ? 0 : bounds_.size() - 1; }
    std::size_t EventCount() const { return bounds_.empty() ? 0 : bounds_.back(); }
    std::size_t TrackBegin(std::size_t track) const { return bounds_[track]; }
    std::size_t TrackEnd(std::size_t track) const { return bounds_[track + 1]; }
    // Some track's time passed 2^32 and wrapped, so that track is not in time order.
    bool AnyTimeWrapped() const { return timeWrapped_; }

    // The delta time of the event at index (an index over all tracks).
    std::uint32_t DeltaAt(std::size_t index) const;
    // The time of the event at index, in the track whose first event is at trackBegin.
    std::uint32_t TimeAt(std::size_t index, std::size_t trackBegin) const;
    // The event at index, given its time.
    MidiEvent EventAt(std::size_t index, std::uint32_t time) const;

  private:
    struct MetaCopy {
        std::uint32_t start = 0;  // where the event starts in the image
        std::uint32_t bytes = 0;  // its type byte and payload in metaBytes_
        std::uint32_t length = 0;
    };

    std::uint32_t StartOf(std::uint32_t record) const;

    std::span<const std::uint8_t> image_;
    std::vector<std::uint32_t> records_;     // (start or copy number) << 8 | status
    std::vector<std::uint32_t> blockTimes_;  // time of records_[16 * i]
    std::vector<MetaCopy> metas_;
    std::vector<std::uint8_t> metaBytes_;
    std::vector<std::size_t> bounds_;  // track i is records_[bounds_[i], bounds_[i + 1])
    bool timeWrapped_ = false;
};

}  // namespace vantrel
