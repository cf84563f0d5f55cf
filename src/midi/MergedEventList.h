#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "midi/EventStore.h"
#include "midi/MidiEvent.h"

namespace vantrel {

// All events of a reader's tracks by time (unsigned), equal times in track order, merged from
// the tracks' heads while it is walked: at each step the earliest head goes next, the lowest
// track on equal times. Nothing is stored per event, so a walk costs a few comparisons a step.
class MergedEventList {
  public:
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = MidiEvent;
        using difference_type = std::ptrdiff_t;
        using reference = MidiEvent;

        Iterator() = default;
        explicit Iterator(const EventStore* store);

        MidiEvent operator*() const { return heads_[current_].event; }
        Iterator& operator++();
        void operator++(int) { ++*this; }
        bool operator==(std::default_sentinel_t) const { return live_ == 0; }
        // The track of the current event and its position there.
        std::uint32_t Track() const { return heads_[current_].track; }
        std::size_t IndexInTrack() const;

      private:
        struct Head {
            MidiEvent event;
            std::uint32_t track;
            std::size_t index;
            std::size_t end;
        };
        static constexpr std::size_t kScannedHeads = 16;

        void Choose();

        const EventStore* store_ = nullptr;
        // Few heads are scanned by their keys, (time << 32 | head), which sit side by side and
        // order as the merge does (heads are in track order); a finished head's key is the
        // largest. Many heads are kept as a heap, earliest in front.
        std::vector<Head> heads_;
        std::array<std::uint64_t, kScannedHeads> keys_{};
        std::array<std::uint8_t, kScannedHeads> slotOf_{};  // where each head's key is
        std::size_t live_ = 0;
        bool heap_ = false;
        std::size_t current_ = 0;
    };

    MergedEventList() = default;
    MergedEventList(const EventStore* store, std::size_t size, MidiEvent last)
        : store_(store), size_(size), last_(last) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    MidiEvent back() const { return last_; }
    Iterator begin() const { return size_ == 0 ? Iterator() : Iterator(store_); }
    std::default_sentinel_t end() const { return {}; }

  private:
    const EventStore* store_ = nullptr;
    std::size_t size_ = 0;
    MidiEvent last_;
};

// The last event MergedEventList would yield over store.
MidiEvent LastMergedEvent(const EventStore& store);

}  // namespace vantrel
