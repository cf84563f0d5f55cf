#include "midi/CMidiReader.h"

#include <algorithm>
#include <new>

#include "common/FileOpenError.h"
#include "midi/FileImage.h"
#include "midi/TrackWalk.h"

namespace vantrel {

CMidiReader::~CMidiReader() {
    Reset();
}

bool CMidiReader::LoadFile() {
    ResetKeepingPath();
    FileImage file = ReadFileImage(path_, kMaxMidiFileSize);
    if (file.status == FileImageStatus::CannotOpen)
        throw FileOpenError(path_);
    if (file.status != FileImageStatus::Ok) {
        loadRefused_ = true;
        return false;
    }
    return LoadImage(std::move(file.bytes));
}

bool CMidiReader::LoadImage(std::vector<std::uint8_t> image) {
    ResetKeepingPath();
    if (image.size() > kMaxMidiFileSize) {
        loadRefused_ = true;
        return false;
    }
    image_ = std::move(image);
    imageLoaded_ = true;
    return true;
}

int CMidiReader::ParseHeader() {
    headerOk_ = false;
    chunks_.clear();
    if (!imageLoaded_)
        return loadRefused_ ? kHeaderNotUsable : kHeaderNoImage;
    try {
        SmfHeader header = ParseSmfHeader(image_);
        if (header.divisionRead) {
            format_ = header.format;
            trackCount_ = header.trackCount;
            division_ = header.division;
            Ppqn.store(header.division);
        }
        if (header.code != kHeaderOk)
            return header.code;
        chunks_ = std::move(header.chunks);
        headerOk_ = true;
        return kHeaderOk;
    } catch (const std::bad_alloc&) {
        return kHeaderOutOfMemory;
    }
}

namespace {

// The memory of the last reader reset on this thread, kept for the next one: songs are read one
// after the other, and taking fresh memory from the system for each costs more than the parse
// itself (the allocator hands large blocks back at every free, and each comes back as page
// faults). Bounded, so that one huge file does not stay in memory for good.
constexpr std::size_t kSpareEventsMax = std::size_t{1} << 18;

struct SpareBuffers {
    std::vector<MidiEvent> events;
    std::vector<const MidiEvent*> merged;
};

SpareBuffers& Spare() {
    thread_local SpareBuffers spare;
    return spare;
}

// Gives buffer the spare's memory when that holds needed elements and buffer's does not.
template <typename T>
void TakeSpare(std::vector<T>& buffer, std::vector<T>& spare, std::size_t needed) {
    if (buffer.capacity() < needed && spare.capacity() >= needed)
        buffer.swap(spare);
    spare.clear();
}

// Empties buffer; its memory becomes the spare when it is larger than the spare's and bounded.
template <typename T>
void GiveBack(std::vector<T>& buffer, std::vector<T>& spare) {
    buffer.clear();
    if (buffer.capacity() > spare.capacity() && buffer.capacity() <= kSpareEventsMax)
        buffer.swap(spare);
    std::vector<T>().swap(buffer);
}

}  // namespace

bool CMidiReader::ParseTracks() {
    GiveBack(merged_, Spare().merged);
    GiveBack(events_, Spare().events);
    trackBounds_.clear();
    damaged_.clear();
    firstMetaText_.clear();
    firstMetaCaptured_ = false;
    if (!headerOk_)
        return false;
    try {
        // A first walk counts the events, so the store is sized from what the bytes hold and
        // filled without ever moving; it also reads what the summary needs.
        std::size_t total = 0;
        TracksSummary summary =
            WalkTracks(image_, chunks_, [&total](std::size_t, const TrackEventView&) {
                ++total;
                return true;
            });
        TakeSpare(events_, Spare().events, total);
        events_.reserve(total);
        trackBounds_.reserve(chunks_.size() + 1);
        trackBounds_.push_back(0);
        for (const TrackChunk& chunk : chunks_) {
            WalkTrack(ChunkData(image_, chunk), [this](const TrackEventView& view) {
                MidiEvent& event = events_.emplace_back();
                event.time = view.time;
                event.status = view.status;
                event.SetData(view.lead, view.body);
                return true;
            });
            trackBounds_.push_back(events_.size());
        }
        firstMetaText_ = std::move(summary.firstMetaText);
        firstMetaCaptured_ = summary.firstMetaCaptured;
        damaged_ = std::move(summary.damaged);
        return summary.allTracksEnd;
    } catch (const std::bad_alloc&) {
        events_.clear();
        trackBounds_.clear();
        return false;
    }
}

void CMidiReader::MergeTracks() {
    GiveBack(merged_, Spare().merged);
    TakeSpare(merged_, Spare().merged, events_.size());
    merged_.reserve(events_.size());
    const auto earlier = [](const MidiEvent& a, const MidiEvent& b) { return a.time < b.time; };
    bool everyTrackInOrder = true;
    for (std::size_t track = 0; track + 1 < trackBounds_.size(); ++track) {
        everyTrackInOrder =
            everyTrackInOrder && std::is_sorted(events_.begin() + trackBounds_[track],
                                                events_.begin() + trackBounds_[track + 1], earlier);
    }
    if (everyTrackInOrder) {
        MergeSortedTracks();
    } else {
        MergeByHeads();
    }
}

// Tracks in order merged by their heads: at each step the earliest head goes next, the lowest
// track on equal times. The head times sit side by side, so the scan for the earliest stays in
// the first cache line, and each track is read front to back.
void CMidiReader::MergeSortedTracks() {
    std::vector<std::uint32_t> headTime;
    std::vector<std::size_t> headIndex;
    std::vector<std::size_t> headEnd;
    for (std::size_t track = 0; track + 1 < trackBounds_.size(); ++track) {
        if (trackBounds_[track] < trackBounds_[track + 1]) {
            headTime.push_back(events_[trackBounds_[track]].time);
            headIndex.push_back(trackBounds_[track]);
            headEnd.push_back(trackBounds_[track + 1]);
        }
    }
    while (!headTime.empty()) {
        std::size_t next = 0;
        for (std::size_t h = 1; h < headTime.size(); ++h)
            next = headTime[h] < headTime[next] ? h : next;
        merged_.push_back(&events_[headIndex[next]]);
        if (++headIndex[next] < headEnd[next]) {
            headTime[next] = events_[headIndex[next]].time;
            continue;
        }
        const auto at = static_cast<std::ptrdiff_t>(next);
        headTime.erase(headTime.begin() + at);
        headIndex.erase(headIndex.begin() + at);
        headEnd.erase(headEnd.begin() + at);
    }
}

// A track whose time wrapped past 2^32 is not in order; then the head of every track is
// compared at each step (a heap of heads picks exactly what a scan of all heads would pick).
void CMidiReader::MergeByHeads() {
    struct Head {
        std::uint32_t time;
        std::uint32_t track;
        std::size_t index;
        std::size_t end;
    };
    const auto later = [](const Head& a, const Head& b) {
        return a.time != b.time ? a.time > b.time : a.track > b.track;
    };
    std::vector<Head> heads;
    for (std::uint32_t track = 0; track + 1 < trackBounds_.size(); ++track) {
        if (trackBounds_[track] < trackBounds_[track + 1]) {
            heads.push_back({events_[trackBounds_[track]].time, track, trackBounds_[track],
                             trackBounds_[track + 1]});
        }
    }
    std::make_heap(heads.begin(), heads.end(), later);
    while (!heads.empty()) {
        std::pop_heap(heads.begin(), heads.end(), later);
        Head& head = heads.back();
        merged_.push_back(&events_[head.index]);
        if (++head.index < head.end) {
            head.time = events_[head.index].time;
            std::push_heap(heads.begin(), heads.end(), later);
        } else {
            heads.pop_back();
        }
    }
}

void CMidiReader::Reset() {
    ResetKeepingPath();
    path_.clear();
}

// Reset empties the path, but a reload must still know which file it is.
void CMidiReader::ResetKeepingPath() {
    GiveBack(merged_, Spare().merged);
    GiveBack(events_, Spare().events);
    trackBounds_.clear();
    damaged_.clear();
    chunks_.clear();
    image_.clear();
    image_.shrink_to_fit();
    imageLoaded_ = false;
    loadRefused_ = false;
    headerOk_ = false;
    trackCount_ = 0;
    format_ = 0;
    division_ = 0;
    firstMetaText_.clear();
    firstMetaCaptured_ = false;
}

std::span<const MidiEvent> CMidiReader::TrackEvents(std::uint32_t track) const {
    if (std::size_t{track} + 1 >= trackBounds_.size())
        return {};
    return std::span<const MidiEvent>(events_).subspan(
        trackBounds_[track], trackBounds_[track + 1] - trackBounds_[track]);
}

}  // namespace vantrel
