// The reader keeps events as offsets into the file and reads them back on demand: walking,
// indexing, jumping and merging must all give the events the bytes hold, whatever the file's
// density, track count or the files the same thread read before.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "MidiImages.h"
#include "midi/CMidiReader.h"

namespace vantrel {
namespace {

using test::Hex;
using test::LoadAndParse;
using test::SmfImage;

// An event as a test expects it: time, status and data bytes.
using Expected = std::tuple<std::uint32_t, int, std::vector<std::uint8_t>>;

Expected Seen(const MidiEvent& event) {
    return {event.time, event.status, {event.Data().begin(), event.Data().end()}};
}

// Writes one track as hex and remembers what the reader should find in it.
class TrackText {
  public:
    // delta, the status byte written (0 for running status), the status in force, data bytes.
    TrackText& Add(std::uint32_t delta, int written, int status, const std::string& data) {
        char vlq[16];
        if (delta < 0x80)
            std::snprintf(vlq, sizeof vlq, "%02X", delta);
        else
            std::snprintf(vlq, sizeof vlq, "%02X %02X", 0x80 | (delta >> 7), delta & 0x7F);
        hex_ += std::string(" ") + vlq;
        if (written != 0) {
            char statusText[8];
            std::snprintf(statusText, sizeof statusText, " %02X", written);
            hex_ += statusText;
        }
        time_ += delta;
        std::string stored = data;
        if (status == 0xFF) {
            // A meta event is written type, length, payload; its data is type and payload.
            const auto bytes = Hex(data);
            char meta[16];
            std::snprintf(meta, sizeof meta, " %02X %02zX", bytes[0], bytes.size() - 1);
            hex_ += meta;
            for (std::size_t i = 1; i < bytes.size(); ++i) {
                std::snprintf(meta, sizeof meta, " %02X", bytes[i]);
                hex_ += meta;
            }
        } else {
            hex_ += " " + data;
        }
        expected_.emplace_back(time_, status, Hex(stored));
        return *this;
    }
    TrackText& End() { return Add(0, 0xFF, 0xFF, "2F"); }

    const std::string& HexText() const { return hex_; }
    const std::vector<Expected>& Events() const { return expected_; }

  private:
    std::string hex_;
    std::uint32_t time_ = 0;
    std::vector<Expected> expected_;
};

// A track of count events cycling through every kind of event a song holds.
TrackText MixedTrack(int count, int seed) {
    TrackText track;
    for (int i = 0; i < count; ++i) {
        const auto delta = static_cast<std::uint32_t>((i * 37 + seed * 11) % 160);
        switch ((i + seed) % 7) {
            case 0:
                track.Add(delta, 0x90, 0x90, "3C 40");
                break;
            case 1:
                track.Add(delta, i == 0 ? 0x90 : 0, 0x90, "3E 41");
                break;
            case 2:
                track.Add(delta, 0xC3, 0xC3, "05");
                break;
            case 3:
                track.Add(delta, i == 0 ? 0xC3 : 0, 0xC3, "06");
                break;
            case 4:
                track.Add(delta, 0xFF, 0xFF, "01 41 42 43");
                break;
            case 5:
                track.Add(delta, 0xF0, 0xF0, "03 7E 7F F7");
                break;
            default:
                track.Add(delta, 0xE1, 0xE1, "00 40");
                break;
        }
    }
    return track.End();
}

std::vector<Expected> Walked(const TrackEventList& events) {
    std::vector<Expected> seen;
    for (const MidiEvent& event : events)
        seen.push_back(Seen(event));
    return seen;
}

TEST(CMidiReaderWalk, WalkingIndexingAndJumpingFindWhatTheBytesHold) {
    // Track lengths around the reader's kept times (every 16th event) and an empty track.
    const std::vector<TrackText> tracks = {MixedTrack(5, 0), MixedTrack(40, 1),
                                           MixedTrack(0, 2).End(), MixedTrack(23, 3),
                                           MixedTrack(16, 4)};
    std::vector<std::string> hex;
    for (const TrackText& track : tracks)
        hex.push_back(track.HexText());
    CMidiReader reader;
    ASSERT_TRUE(LoadAndParse(reader, SmfImage(1, 96, hex)).tracks);
    for (std::uint32_t t = 0; t < tracks.size(); ++t) {
        const auto events = reader.TrackEvents(t);
        ASSERT_EQ(Walked(events), tracks[t].Events()) << "track " << t;
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(Seen(events[i]), tracks[t].Events()[i]) << "track " << t << " event " << i;
            const auto jumped = events.begin() + static_cast<std::ptrdiff_t>(i);
            EXPECT_EQ(jumped.Index(), i);
            EXPECT_EQ(jumped->time, std::get<0>(tracks[t].Events()[i]));
        }
        EXPECT_EQ(Seen(events.back()), tracks[t].Events().back());
    }
}

// The merge order by its definition: time (unsigned), then track, then place in the track.
std::vector<std::pair<std::uint32_t, std::size_t>> OrderByDefinition(const CMidiReader& reader) {
    std::vector<std::tuple<std::uint32_t, std::uint32_t, std::size_t>> all;
    for (std::uint32_t t = 0; t < reader.TrackCount(); ++t) {
        std::size_t i = 0;
        for (const MidiEvent& event : reader.TrackEvents(t))
            all.emplace_back(event.time, t, i++);
    }
    std::sort(all.begin(), all.end());
    std::vector<std::pair<std::uint32_t, std::size_t>> order;
    for (const auto& [time, track, index] : all)
        order.emplace_back(track, index);
    return order;
}

TEST(CMidiReaderMerge, FewAndManyTracksMergeByTimeThenTrack) {
    // Tracks ending at different times exercise heads finishing out of track order; equal
    // times across tracks test the tie rule. 3 and 9 tracks are scanned, 24 go through a heap.
    for (const int trackCount : {3, 9, 24}) {
        std::vector<std::string> hex;
        for (int t = 0; t < trackCount; ++t) {
            TrackText track;
            const int length = 1 + (t * 7) % 13;
            for (int i = 0; i < length; ++i)
                track.Add(static_cast<std::uint32_t>((t + i) % 3 * 24), 0x90 + t % 16,
                          0x90 + t % 16, "3C 40");
            hex.push_back(track.End().HexText());
        }
        CMidiReader reader;
        ASSERT_TRUE(LoadAndParse(reader, SmfImage(1, 96, hex)).tracks) << trackCount;
        reader.MergeTracks();
        std::vector<std::pair<std::uint32_t, std::size_t>> merged;
        const auto list = reader.MergedEvents();
        std::uint32_t lastTime = 0;
        for (auto it = list.begin(); it != list.end(); ++it) {
            merged.emplace_back(it.Track(), it.IndexInTrack());
            lastTime = (*it).time;
        }
        EXPECT_EQ(merged, OrderByDefinition(reader)) << trackCount << " tracks";
        EXPECT_EQ(list.size(), merged.size());
        EXPECT_EQ(list.back().time, lastTime);
        EXPECT_TRUE(list.back().IsEndOfTrack());
    }
}

TEST(CMidiReaderLoad, DenseAndMetaHeavyFilesAreStoredWhole) {
    // Two-byte events (running status program changes) and a track of nothing but meta events
    // hold more than the reader makes room for at first; every event must still be there.
    TrackText dense;
    dense.Add(0, 0xC0, 0xC0, "01");
    for (int i = 0; i < 3000; ++i)
        dense.Add(1, 0, 0xC0, i % 2 == 0 ? "02" : "03");
    dense.End();
    TrackText lyrics;
    for (int i = 0; i < 400; ++i)
        lyrics.Add(2, 0xFF, 0xFF, "05 4C 61 20 6C 61 20");
    lyrics.End();
    CMidiReader reader;
    ASSERT_TRUE(LoadAndParse(reader, SmfImage(1, 96, {dense.HexText(), lyrics.HexText()})).tracks);
    EXPECT_EQ(Walked(reader.TrackEvents(0)), dense.Events());
    EXPECT_EQ(Walked(reader.TrackEvents(1)), lyrics.Events());
    reader.MergeTracks();
    EXPECT_EQ(reader.MergedEvents().size(), dense.Events().size() + lyrics.Events().size());
}

TEST(CMidiReaderLoad, ReadersOfOneThreadReadTheSameWhateverCameBefore) {
    // Readers hand their memory to the next reader on the thread: a large file, a small one
    // and the large one again, by one reader and by fresh ones, read the same.
    const TrackText large = MixedTrack(3000, 5);
    const TrackText small = MixedTrack(3, 6);
    const auto largeImage = SmfImage(0, 96, {large.HexText()});
    const auto smallImage = SmfImage(0, 96, {small.HexText()});
    CMidiReader reused;
    for (const auto* image : {&largeImage, &smallImage, &largeImage, &smallImage}) {
        const TrackText& expected = image == &largeImage ? large : small;
        ASSERT_TRUE(LoadAndParse(reused, *image).tracks);
        EXPECT_EQ(Walked(reused.TrackEvents(0)), expected.Events());
        CMidiReader fresh;
        ASSERT_TRUE(LoadAndParse(fresh, *image).tracks);
        EXPECT_EQ(Walked(fresh.TrackEvents(0)), expected.Events());
    }
}

}  // namespace
}  // namespace vantrel
