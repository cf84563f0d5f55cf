#include "midi/MergedEventList.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr std::uint64_t kFinished = ~std::uint64_t{0};

std::uint64_t KeyOf(std::uint32_t time, std::size_t head) {
    return std::uint64_t{time} << 32 | head;
}

bool Later(const auto& a, const auto& b) {
    return a.event.time != b.event.time ? a.event.time > b.event.time : a.track > b.track;
}

}  // namespace

MergedEventList::Iterator::Iterator(const EventStore* store) : store_(store) {
    for (std::size_t track = 0; track < store->TrackCount(); ++track) {
        const std::size_t begin = store->TrackBegin(track);
        const std::size_t end = store->TrackEnd(track);
        if (begin < end)
            heads_.push_back(
                {store->EventAfter(begin, 0), static_cast<std::uint32_t>(track), begin, end});
    }
    live_ = heads_.size();
    heap_ = heads_.size() > kScannedHeads;
    if (heap_) {
        std::make_heap(heads_.begin(), heads_.end(),
                       [](const Head& a, const Head& b) { return Later(a, b); });
        return;
    }
    keys_.fill(kFinished);
    for (std::size_t h = 0; h < heads_.size(); ++h) {
        keys_[h] = KeyOf(heads_[h].event.time, h);
        slotOf_[h] = static_cast<std::uint8_t>(h);
    }
    Choose();
}

namespace {

template <std::size_t Width>
std::uint64_t Earliest(const std::array<std::uint64_t, 16>& keys) {
    std::uint64_t earliest = kFinished;
    for (std::size_t slot = 0; slot < Width; ++slot)
        earliest = std::min(earliest, keys[slot]);
    return earliest;
}

}  // namespace

// The keys of live heads fill the first live_ slots, so the scan reads only as many as needed.
void MergedEventList::Iterator::Choose() {
    const std::uint64_t earliest = live_ <= 4   ? Earliest<4>(keys_)
                                   : live_ <= 8 ? Earliest<8>(keys_)
                                                : Earliest<16>(keys_);
    current_ = static_cast<std::uint32_t>(earliest);
}

std::size_t MergedEventList::Iterator::IndexInTrack() const {
    const Head& head = heads_[current_];
    return head.index - store_->TrackBegin(head.track);
}

MergedEventList::Iterator& MergedEventList::Iterator::operator++() {
    if (heap_) {
        const auto later = [](const Head& a, const Head& b) { return Later(a, b); };
        std::pop_heap(heads_.begin(), heads_.end(), later);
        Head& head = heads_.back();
        if (++head.index < head.end) {
            head.event = store_->EventAfter(head.index, head.event.time);
            std::push_heap(heads_.begin(), heads_.end(), later);
        } else {
            heads_.pop_back();
            --live_;
        }
        return *this;
    }
    Head& head = heads_[current_];
    const std::size_t slot = slotOf_[current_];
    if (++head.index < head.end) {
        head.event = store_->EventAfter(head.index, head.event.time);
        keys_[slot] = KeyOf(head.event.time, current_);
    } else {
        // The last live key takes the finished head's slot; its head is in its low bits.
        const std::size_t last = --live_;
        keys_[slot] = keys_[last];
        slotOf_[static_cast<std::uint32_t>(keys_[slot])] = static_cast<std::uint8_t>(slot);
        keys_[last] = kFinished;
    }
    Choose();
    return *this;
}

MidiEvent LastMergedEvent(const EventStore& store) {
    if (store.AnyTimeWrapped()) {
        MidiEvent last;
        for (MergedEventList::Iterator it(&store); it != std::default_sentinel; ++it)
            last = *it;
        return last;
    }
    // Every track in time order: the last event out is the latest of the tracks' last events,
    // the highest track among equal times.
    std::size_t lastIndex = 0;
    std::size_t lastBegin = 0;
    std::uint32_t lastTime = 0;
    bool found = false;
    for (std::size_t track = 0; track < store.TrackCount(); ++track) {
        const std::size_t begin = store.TrackBegin(track);
        const std::size_t end = store.TrackEnd(track);
        if (begin == end)
            continue;
        const std::uint32_t time = store.TimeAt(end - 1, begin);
        if (!found || time >= lastTime) {
            lastIndex = end - 1;
            lastBegin = begin;
            lastTime = time;
            found = true;
        }
    }
    return found ? store.EventAt(lastIndex, lastBegin) : MidiEvent();
}

}  // namespace vantrel
