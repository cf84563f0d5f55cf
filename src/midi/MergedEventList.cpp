#include "midi/MergedEventList.h"

#include <algorithm>

namespace vantrel {
namespace {

// Up to this many tracks a scan of the heads, whose times sit side by side, beats a heap.
constexpr std::size_t kScannedHeads = 16;

}  // namespace

MergedEventList::Iterator::Iterator(const EventStore* store) : store_(store) {
    for (std::size_t track = 0; track < store->TrackCount(); ++track) {
        const std::size_t begin = store->TrackBegin(track);
        const std::size_t end = store->TrackEnd(track);
        if (begin < end)
            heads_.push_back(
                {store->DeltaAt(begin), static_cast<std::uint32_t>(track), begin, end});
    }
    heap_ = heads_.size() > kScannedHeads;
    Choose();
}

namespace {

bool Later(const auto& a, const auto& b) {
    return a.time != b.time ? a.time > b.time : a.track > b.track;
}

}  // namespace

void MergedEventList::Iterator::Choose() {
    if (heap_) {
        std::make_heap(heads_.begin(), heads_.end(),
                       [](const Head& a, const Head& b) { return Later(a, b); });
        current_ = 0;
        return;
    }
    current_ = 0;
    for (std::size_t h = 1; h < heads_.size(); ++h)
        current_ = heads_[h].time < heads_[current_].time ? h : current_;
}

MidiEvent MergedEventList::Iterator::operator*() const {
    const Head& head = heads_[current_];
    return store_->EventAt(head.index, head.time);
}

std::size_t MergedEventList::Iterator::IndexInTrack() const {
    const Head& head = heads_[current_];
    return head.index - store_->TrackBegin(head.track);
}

MergedEventList::Iterator& MergedEventList::Iterator::operator++() {
    const auto later = [](const Head& a, const Head& b) { return Later(a, b); };
    if (heap_) {
        std::pop_heap(heads_.begin(), heads_.end(), later);
        Head& head = heads_.back();
        if (++head.index < head.end) {
            head.time += store_->DeltaAt(head.index);
            std::push_heap(heads_.begin(), heads_.end(), later);
        } else {
            heads_.pop_back();
        }
        return *this;
    }
    Head& head = heads_[current_];
    if (++head.index < head.end) {
        head.time += store_->DeltaAt(head.index);
    } else {
        heads_.erase(heads_.begin() + static_cast<std::ptrdiff_t>(current_));
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
            lastTime = time;
            found = true;
        }
    }
    return found ? store.EventAt(lastIndex, lastTime) : MidiEvent();
}

}  // namespace vantrel
