#include "midi/CMidiReader.h"

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

// Events are stored by their offsets in the image, which take 24 bits.
static_assert(kMaxMidiFileSize <= std::uintmax_t{1} << 24);

// Room for an event in every three bytes of the file and meta data in a 32nd of it: songs hold
// an event in every three to four bytes and little meta data, so this is what nearly every file
// needs, and under one and a half times the file's size.
EventStore::Totals RoomFor(std::size_t imageSize) {
    EventStore::Totals room;
    room.events = imageSize / 3 + 16;
    room.metaEvents = imageSize / 256 + 16;
    room.metaBytes = imageSize / 32 + 64;
    return room;
}

}  // namespace

bool CMidiReader::ParseTracks() {
    events_.Clear();
    merged_ = false;
    lastMerged_ = {};
    damaged_.clear();
    firstMetaText_.clear();
    firstMetaCaptured_ = false;
    if (!headerOk_)
        return false;
    try {
        // One walk stores the events in room for more than songs hold; a file denser than
        // that is counted by a second walk and stored in room of exactly its size.
        bool full = false;
        TracksSummary summary = FillWalk(RoomFor(image_.size()), full);
        if (full) {
            events_.Release();
            EventStore::Totals totals;
            WalkTracks(image_, chunks_, [&totals](std::size_t, const TrackEventView& view) {
                ++totals.events;
                if (view.IsMeta()) {
                    ++totals.metaEvents;
                    totals.metaBytes += 1 + view.body.size();
                }
                return true;
            });
            summary = FillWalk(totals, full);
        }
        firstMetaText_ = std::move(summary.firstMetaText);
        firstMetaCaptured_ = summary.firstMetaCaptured;
        damaged_ = std::move(summary.damaged);
        return summary.allTracksEnd;
    } catch (const std::bad_alloc&) {
        events_.Clear();
        return false;
    }
}

TracksSummary CMidiReader::FillWalk(const EventStore::Totals& room, bool& full) {
    events_.Start(image_, chunks_.size(), room);
    full = false;
    TracksSummary summary =
        WalkTracks(image_, chunks_, [this, &full](std::size_t track, const TrackEventView& view) {
            full = full || !events_.Add(track, chunks_[track], view);
            return !full;
        });
    events_.Finish(chunks_.size());
    return summary;
}

void CMidiReader::MergeTracks() {
    lastMerged_ = LastMergedEvent(events_);
    merged_ = true;
}

MergedEventList CMidiReader::MergedEvents() const {
    if (!merged_)
        return {};
    return {&events_, events_.EventCount(), lastMerged_};
}

void CMidiReader::Reset() {
    ResetKeepingPath();
    path_.clear();
}

// Reset empties the path, but a reload must still know which file it is.
void CMidiReader::ResetKeepingPath() {
    events_.Clear();
    merged_ = false;
    lastMerged_ = {};
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

TrackEventList CMidiReader::TrackEvents(std::uint32_t track) const {
    if (track >= events_.TrackCount())
        return {};
    return {&events_, events_.TrackBegin(track), events_.TrackEnd(track)};
}

}  // namespace vantrel
