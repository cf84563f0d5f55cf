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

bool CMidiReader::ParseTracks() {
    merged_.clear();
    trackEvents_.clear();
    damaged_.clear();
    firstMetaText_.clear();
    firstMetaCaptured_ = false;
    if (!headerOk_)
        return false;
    try {
        trackEvents_.resize(chunks_.size());
        for (std::size_t i = 0; i < chunks_.size(); ++i) {
            // Most events take three or four bytes; a guess bounded by what the chunk holds.
            trackEvents_[i].reserve(chunks_[i].length / 4);
        }
    } catch (const std::bad_alloc&) {
        trackEvents_.clear();
        return false;
    }
    TracksSummary summary =
        WalkTracks(image_, chunks_, [this](std::size_t track, const TrackEventView& view) {
            try {
                MidiEvent event;
                event.time = view.time;
                event.status = view.status;
                event.SetData(view.lead, view.body);
                trackEvents_[track].push_back(std::move(event));
                return true;
            } catch (const std::bad_alloc&) {
                return false;
            }
        });
    firstMetaText_ = std::move(summary.firstMetaText);
    firstMetaCaptured_ = summary.firstMetaCaptured;
    damaged_ = std::move(summary.damaged);
    return summary.allTracksEnd;
}

void CMidiReader::MergeTracks() {
    merged_.clear();
    std::size_t total = 0;
    bool everyTrackInOrder = true;
    for (const auto& events : trackEvents_) {
        total += events.size();
        everyTrackInOrder =
            everyTrackInOrder &&
            std::is_sorted(events.begin(), events.end(),
                           [](const MidiEvent& a, const MidiEvent& b) { return a.time < b.time; });
    }
    merged_.reserve(total);
    if (everyTrackInOrder) {
        MergeSortedTracks();
    } else {
        MergeByHeads();
    }
}

// Runs of whole tracks merged pairwise. std::merge takes from its first range on equal times,
// and the first range always holds the lower-numbered tracks, so ties keep track order.
void CMidiReader::MergeSortedTracks() {
    std::vector<std::size_t> bounds{0};
    for (const auto& events : trackEvents_) {
        for (const MidiEvent& event : events)
            merged_.push_back(&event);
        bounds.push_back(merged_.size());
    }
    const auto earlier = [](const MidiEvent* a, const MidiEvent* b) { return a->time < b->time; };
    std::vector<const MidiEvent*> scratch(merged_.size());
    while (bounds.size() > 2) {
        std::vector<std::size_t> next{0};
        std::size_t i = 0;
        for (; i + 2 < bounds.size(); i += 2) {
            std::merge(merged_.begin() + bounds[i], merged_.begin() + bounds[i + 1],
                       merged_.begin() + bounds[i + 1], merged_.begin() + bounds[i + 2],
                       scratch.begin() + bounds[i], earlier);
            next.push_back(bounds[i + 2]);
        }
        if (i + 1 < bounds.size()) {
            std::copy(merged_.begin() + bounds[i], merged_.end(), scratch.begin() + bounds[i]);
            next.push_back(bounds.back());
        }
        merged_.swap(scratch);
        bounds = std::move(next);
    }
}

// A track whose time wrapped past 2^32 is not in order; then the head of every track is
// compared at each step (a heap of heads picks exactly what a scan of all heads would pick).
void CMidiReader::MergeByHeads() {
    struct Head {
        std::uint32_t time;
        std::uint32_t track;
        std::size_t index;
    };
    const auto later = [](const Head& a, const Head& b) {
        return a.time != b.time ? a.time > b.time : a.track > b.track;
    };
    std::vector<Head> heads;
    for (std::uint32_t track = 0; track < trackEvents_.size(); ++track) {
        if (!trackEvents_[track].empty())
            heads.push_back({trackEvents_[track][0].time, track, 0});
    }
    std::make_heap(heads.begin(), heads.end(), later);
    while (!heads.empty()) {
        std::pop_heap(heads.begin(), heads.end(), later);
        Head& head = heads.back();
        const auto& events = trackEvents_[head.track];
        merged_.push_back(&events[head.index]);
        if (++head.index < events.size()) {
            head.time = events[head.index].time;
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
    merged_.clear();
    trackEvents_.clear();
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
    if (track >= trackEvents_.size())
        return {};
    return trackEvents_[track];
}

}  // namespace vantrel
