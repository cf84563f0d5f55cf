#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "midi/EventStore.h"
#include "midi/MidiEvent.h"

namespace vantrel {

// The events of one track in file order, read from a reader's store as they are asked for.
// Walking front to back reads each event once; indexing or jumping reads up to 15 delta times
// more.
class TrackEventList {
  public:
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = MidiEvent;
        using difference_type = std::ptrdiff_t;
        using reference = MidiEvent;
        struct pointer {
            MidiEvent event;
            const MidiEvent* operator->() const { return &event; }
        };

        Iterator() = default;
        Iterator(const EventStore* store, std::size_t begin, std::size_t end, std::size_t index)
            : store_(store), begin_(begin), end_(end), index_(index) {
            if (index < end)
                event_ = store->EventAt(index, begin);
        }

        MidiEvent operator*() const { return event_; }
        pointer operator->() const { return {event_}; }
        Iterator& operator++() {
            if (++index_ < end_)
                event_ = store_->EventAfter(index_, event_.time);
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        Iterator operator+(difference_type steps) const {
            return {store_, begin_, end_, index_ + static_cast<std::size_t>(steps)};
        }
        difference_type operator-(const Iterator& other) const {
            return static_cast<difference_type>(index_) -
                   static_cast<difference_type>(other.index_);
        }
        bool operator==(const Iterator& other) const { return index_ == other.index_; }
        // Position in the track.
        std::size_t Index() const { return index_ - begin_; }

      private:
        const EventStore* store_ = nullptr;
        std::size_t begin_ = 0;
        std::size_t end_ = 0;
        std::size_t index_ = 0;
        MidiEvent event_;
    };

    TrackEventList() = default;
    TrackEventList(const EventStore* store, std::size_t begin, std::size_t end)
        : store_(store), begin_(begin), end_(end) {}

    std::size_t size() const { return end_ - begin_; }
    bool empty() const { return begin_ == end_; }
    MidiEvent operator[](std::size_t i) const { return store_->EventAt(begin_ + i, begin_); }
    MidiEvent front() const { return (*this)[0]; }
    MidiEvent back() const { return (*this)[size() - 1]; }
    Iterator begin() const { return {store_, begin_, end_, begin_}; }
    Iterator end() const { return {store_, begin_, end_, end_}; }

  private:
    const EventStore* store_ = nullptr;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

}  // namespace vantrel
