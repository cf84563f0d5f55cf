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

// Events are stored by their offsets in the image, which take 24 bits.
static_assert(kMaxMidiFileSize <= std::uintmax_t{1} << 24);

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
        // A first walk counts what the store will hold, so it is sized once from what the bytes
        // hold; it also reads what the summary needs.
        EventStore::Totals totals;
        TracksSummary summary =
            WalkTracks(image_, chunks_, [&totals](std::size_t, const TrackEventView& view) {
                ++totals.events;
                if (view.IsMeta()) {
                    ++totals.metaEvents;
                    totals.metaBytes += 1 + view.body.size();
                }
                return true;
            });
        events_.Fill(image_, chunks_, totals);
        firstMetaText_ = std::move(summary.firstMetaText);
        firstMetaCaptured_ = summary.firstMetaCaptured;
        damaged_ = std::move(summary.damaged);
        return summary.allTracksEnd;
    } catch (const std::bad_alloc&) {
        events_.Clear();
        return false;
    }
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
