#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "midi/EventStore.h"
#include "midi/MergedEventList.h"
#include "midi/MidiEvent.h"
#include "midi/SmfHeader.h"
#include "midi/TrackEventList.h"
#include "midi/TrackWalk.h"

namespace vantrel {

// Files larger than this are not read into memory: LoadFile answers false and ParseHeader then
// answers kHeaderNotUsable. Real pattern and song files are a few kilobytes to a few hundred.
inline constexpr std::uintmax_t kMaxMidiFileSize = 16u * 1024u * 1024u;

// Division (ticks per quarter note) of the most recent ParseHeader in the process, kept for
// callers that expect one process-wide value. Readers on different threads race on it, so code
// that has a reader at hand uses that reader's Division() instead.
inline std::atomic<std::uint16_t> Ppqn{0};

// Loads one Standard MIDI File (format 0 or 1), checks its chunk structure, splits every track
// into events with absolute times and merges the tracks into one time-ordered list.
// Use in order: SetPath, LoadFile (or LoadImage), ParseHeader, ParseTracks, then
// GetFirstMetaText or MergeTracks. One reader serves one file at a time.
class CMidiReader {
  public:
    CMidiReader() = default;
    virtual ~CMidiReader();
    CMidiReader(const CMidiReader&) = delete;
    CMidiReader& operator=(const CMidiReader&) = delete;

    void SetPath(std::filesystem::path path) { path_ = std::move(path); }
    const std::filesystem::path& Path() const { return path_; }

    // Reads the whole file at Path(). Throws FileOpenError when it cannot be opened. False when
    // it is larger than kMaxMidiFileSize or cannot be read whole; ParseHeader then answers
    // kHeaderNotUsable. A loaded reader is reset first (the path is kept).
    bool LoadFile();
    // The same from bytes already in memory (the path is left as it is).
    bool LoadImage(std::vector<std::uint8_t> image);

    // kHeaderOk, kHeaderNoImage, kHeaderNotUsable or kHeaderOutOfMemory. Stores the division
    // (also in Ppqn) once the header is long enough to hold it, before the format is judged.
    int ParseHeader();
    // Parses every track into its event list. True when the header was accepted and every
    // track chunk that holds bytes ends with End of Track (FF 2F 00); only a chunk of length 0
    // is an empty track. A track stops at a data byte without running status, a truncated
    // event, a length quantity longer than four bytes, or a system-exclusive event without F7
    // before the end of the chunk (that event is dropped); the events before it are kept and
    // the track is listed in DamagedTracks().
    bool ParseTracks();
    // The tracks the last ParseTracks found damaged, in track order.
    std::span<const TrackDamage> DamagedTracks() const { return damaged_; }
    // Makes MergedEvents() available: all events by time (unsigned), equal times in track order.
    void MergeTracks();
    // The payload of the first meta event of any type met in track order, up to its first zero
    // byte; empty when there is none.
    std::string GetFirstMetaText() const { return firstMetaText_; }
    // Frees everything loaded and parsed and empties the path.
    void Reset();

    std::uint32_t FileLength() const { return static_cast<std::uint32_t>(image_.size()); }
    // Tracks announced by the header (0 before ParseHeader has read them).
    std::uint32_t TrackCount() const { return trackCount_; }
    std::uint8_t Format() const { return format_; }
    // This reader's division, as its last ParseHeader read it.
    std::uint16_t Division() const { return division_; }

    // Events of track i in file order; empty for a track not parsed. The lists and the events
    // they give read the reader's memory: they hold from the end of ParseTracks until Reset, the
    // next load or the next ParseTracks.
    TrackEventList TrackEvents(std::uint32_t track) const;
    // All events in time order after MergeTracks (empty before), under the same terms.
    MergedEventList MergedEvents() const;

  private:
    void ResetKeepingPath();
    // Walks every track into events_ within room; full tells that room ran out.
    TracksSummary FillWalk(const EventStore::Totals& room, bool& full);

    std::filesystem::path path_;
    std::vector<std::uint8_t> image_;
    bool imageLoaded_ = false;
    bool loadRefused_ = false;
    std::uint32_t trackCount_ = 0;
    std::uint8_t format_ = 0;
    std::uint16_t division_ = 0;
    bool headerOk_ = false;
    std::vector<TrackChunk> chunks_;
    EventStore events_;
    bool merged_ = false;
    MidiEvent lastMerged_;
    std::vector<TrackDamage> damaged_;
    std::string firstMetaText_;
    bool firstMetaCaptured_ = false;
};

}  // namespace vantrel
