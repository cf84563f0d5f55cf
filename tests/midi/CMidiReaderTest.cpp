#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "DamagedTrackFiles.h"
#include "MidiImages.h"
#include "common/FileOpenError.h"
#include "common/ScopedTempDir.h"
#include "midi/CMidiReader.h"
#include "midi/SmfWriter.h"

namespace vantrel {
namespace {

using test::Hex;
using test::LoadAndParse;
using test::SmfImage;
using ::testing::ElementsAreArray;

constexpr const char* kEnd = "00 FF 2F 00";

std::vector<std::uint8_t> DataOf(const MidiEvent& event) {
    return {event.Data().begin(), event.Data().end()};
}

using TrackPlace = std::pair<std::uint32_t, std::size_t>;  // track, index in the track

std::vector<TrackPlace> MergedOrder(CMidiReader& reader) {
    reader.MergeTracks();
    std::vector<TrackPlace> order;
    const auto merged = reader.MergedEvents();
    for (auto it = merged.begin(); it != merged.end(); ++it)
        order.emplace_back(it.Track(), it.IndexInTrack());
    return order;
}

TEST(CMidiReaderHeader, AnswersEachStructuralFaultWithItsCode) {
    CMidiReader reader;
    EXPECT_EQ(reader.ParseHeader(), kHeaderNoImage);

    const std::string track = std::string("00 90 3C 40 ") + kEnd;
    EXPECT_EQ(LoadAndParse(reader, SmfImage(2, 96, {track})).header, kHeaderNotUsable);
    EXPECT_EQ(reader.Division(), 96) << "division is stored before the format is judged";

    auto trailing = SmfImage(0, 96, {track});
    trailing.push_back(0);
    EXPECT_EQ(LoadAndParse(reader, trailing).header, kHeaderNotUsable);

    auto fewerChunks = SmfImage(1, 96, {track});
    fewerChunks[11] = 2;
    EXPECT_EQ(LoadAndParse(reader, fewerChunks).header, kHeaderNotUsable);

    auto wrongTag = SmfImage(0, 96, {track});
    wrongTag[14 + 3] = 'x';
    EXPECT_EQ(LoadAndParse(reader, wrongTag).header, kHeaderNotUsable);

    auto longHeader = Hex("4D 54 68 64 00 00 00 07 00 00 00 00 00 60 00");
    EXPECT_EQ(LoadAndParse(reader, longHeader).header, kHeaderNotUsable);
    auto highLength = Hex("4D 54 68 64 01 00 00 06 00 00 00 00 00 60");
    EXPECT_EQ(LoadAndParse(reader, highLength).header, kHeaderNotUsable);

    // The high byte of the format field is not examined.
    auto highFormatByte = SmfImage(0x0101, 96, {track});
    EXPECT_EQ(LoadAndParse(reader, highFormatByte).header, kHeaderOk);
    EXPECT_EQ(reader.Format(), 1);
}

TEST(CMidiReaderHeader, DivisionIsKeptPerReaderAndLastInProcess) {
    CMidiReader first;
    CMidiReader second;
    EXPECT_EQ(LoadAndParse(first, SmfImage(0, 192, {kEnd})).header, kHeaderOk);
    EXPECT_EQ(Ppqn.load(), 192);
    // Division 0 and an SMPTE division are structurally fine; judging them is the caller's job.
    EXPECT_EQ(LoadAndParse(second, SmfImage(0, 0xE728, {kEnd})).header, kHeaderOk);
    EXPECT_EQ(Ppqn.load(), 0xE728);
    EXPECT_EQ(first.Division(), 192);
    EXPECT_EQ(second.Division(), 0xE728);
    EXPECT_EQ(LoadAndParse(second, SmfImage(0, 0, {kEnd})).header, kHeaderOk);
    EXPECT_EQ(second.Division(), 0);
}

TEST(CMidiReaderTracks, StoresDataBytesByStatus) {
    CMidiReader reader;
    const auto outcome = LoadAndParse(
        reader, SmfImage(0, 96,
                         {"00 90 3C 40  10 C5 07  00 F0 05 7E 7F 09 01 F7  00 F3 01 05"
                          "  00 FF 01 06 41 42 43 44 45 46  00 FF 01 07 41 42 43 44 45 46 47"
                          "  00 E0 00 40  81 00 FF 2F 00"}));
    ASSERT_EQ(outcome.header, kHeaderOk);
    EXPECT_TRUE(outcome.tracks);
    const auto events = reader.TrackEvents(0);
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].status, 0x90);
    EXPECT_THAT(DataOf(events[0]), ElementsAreArray(Hex("3C 40")));
    EXPECT_EQ(events[1].time, 0x10u);
    EXPECT_THAT(DataOf(events[1]), ElementsAreArray(Hex("07")));
    // System exclusive is taken raw up to and including F7: its length byte is part of the data.
    EXPECT_EQ(events[2].length, 6u);
    EXPECT_THAT(DataOf(events[2]), ElementsAreArray(Hex("05 7E 7F 09 01 F7")));
    EXPECT_THAT(DataOf(events[3]), ElementsAreArray(Hex("05")));
    EXPECT_EQ(events[4].length, 7u);
    EXPECT_EQ(events[4].MetaType(), 0x01);
    EXPECT_EQ(events[5].length, 8u);
    EXPECT_THAT(DataOf(events[5]), ElementsAreArray(Hex("01 41 42 43 44 45 46 47")));
    EXPECT_EQ(events[7].time, 0x10u + 0x80u);
    EXPECT_TRUE(events[7].IsEndOfTrack());
}

TEST(CMidiReaderTracks, RunningStatusCarriesEveryStatusIncludingMetaAndSysEx) {
    CMidiReader reader;
    LoadAndParse(reader, SmfImage(0, 96,
                                  {"00 90 3C 40  00 3E 41"
                                   "  00 FF 01 01 41  00 03 02 42 43"
                                   "  00 F0 01 F7  00 02 03 F7  00 FF 2F 00"}));
    const auto events = reader.TrackEvents(0);
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[1].status, 0x90);
    EXPECT_THAT(DataOf(events[1]), ElementsAreArray(Hex("3E 41")));
    EXPECT_EQ(events[3].status, 0xFF);
    EXPECT_THAT(DataOf(events[3]), ElementsAreArray(Hex("03 42 43")));
    EXPECT_EQ(events[5].status, 0xF0);
    EXPECT_THAT(DataOf(events[5]), ElementsAreArray(Hex("02 03 F7")));
}

TEST(CMidiReaderTracks, EndOfTrackRuleAndQuietStops) {
    CMidiReader reader;
    // An empty chunk gives an empty list and does not fail; a missing End of Track does, with
    // every event still parsed.
    auto outcome = LoadAndParse(reader, SmfImage(1, 96, {"", "00 90 3C 40 10 80 3C 40"}));
    EXPECT_FALSE(outcome.tracks);
    EXPECT_TRUE(reader.TrackEvents(0).empty());
    EXPECT_EQ(reader.TrackEvents(1).size(), 2u);

    outcome = LoadAndParse(reader, SmfImage(1, 96, {"", kEnd}));
    EXPECT_TRUE(outcome.tracks);

    // A data byte with no running status at the start of a track ends it before any event:
    // a damaged track, not an empty one.
    outcome = LoadAndParse(reader, SmfImage(1, 96, {"00 3C 40 00 FF 2F 00", kEnd}));
    EXPECT_FALSE(outcome.tracks);
    EXPECT_TRUE(reader.TrackEvents(0).empty());
    EXPECT_EQ(reader.TrackEvents(1).size(), 1u);
    ASSERT_EQ(reader.DamagedTracks().size(), 1u);
    EXPECT_EQ(reader.DamagedTracks()[0].track, 0u);
    EXPECT_EQ(reader.DamagedTracks()[0].stopOffset, 0u);
    EXPECT_TRUE(reader.DamagedTracks()[0].EventsLost());

    // Truncated event, five-byte delta, delta running past the chunk: the track stops there.
    for (const char* track :
         {"00 90 3C 40 00 90 3C", "00 90 3C 40 FF FF FF FF 00 FF 2F 00", "00 90 3C 40 81 81"}) {
        outcome = LoadAndParse(reader, SmfImage(0, 96, {track}));
        EXPECT_EQ(outcome.header, kHeaderOk) << track;
        EXPECT_FALSE(outcome.tracks) << track;
        EXPECT_EQ(reader.TrackEvents(0).size(), 1u) << track;
    }
}

TEST(CMidiReaderTracks, SysExWithoutF7EndsTheTrackAtItsChunk) {
    CMidiReader reader;
    // The F7 of the second track lies beyond the first chunk: it must not be found.
    auto outcome = LoadAndParse(
        reader, SmfImage(1, 96, {"00 90 3C 40 00 F0 03 01 02 03", "00 F7 00 F7 00 FF 2F 00"}));
    EXPECT_FALSE(outcome.tracks);
    EXPECT_EQ(reader.TrackEvents(0).size(), 1u);
    // An F7 escape of length 0 takes the bytes up to the next F7 raw; with none left it is
    // dropped like any truncated event.
    ASSERT_EQ(reader.TrackEvents(1).size(), 2u);
    EXPECT_THAT(DataOf(reader.TrackEvents(1)[0]), ElementsAreArray(Hex("00 F7")));

    outcome = LoadAndParse(reader, SmfImage(0, 96, {"00 F7 00 00 FF 2F 00"}));
    EXPECT_TRUE(reader.TrackEvents(0).empty());
    EXPECT_FALSE(outcome.tracks);
}

TEST(CMidiReaderTracks, ATrackThatStopsAtItsFirstEventIsDamagedNotEmpty) {
    for (const auto& image : {test::FiveByteDeltaSong(), test::NoStatusSong()}) {
        ASSERT_EQ(image.size(), 90u);
        CMidiReader reader;
        const auto outcome = LoadAndParse(reader, image);
        EXPECT_EQ(outcome.header, kHeaderOk);
        EXPECT_FALSE(outcome.tracks);
        EXPECT_EQ(reader.TrackEvents(0).size(), 3u);
        EXPECT_TRUE(reader.TrackEvents(1).empty());
        ASSERT_EQ(reader.DamagedTracks().size(), 1u);
        EXPECT_EQ(reader.DamagedTracks()[0].track, 1u);
        EXPECT_EQ(reader.DamagedTracks()[0].length, 41u);
    }
    // Only a chunk of length 0 is an empty track.
    CMidiReader reader;
    EXPECT_TRUE(LoadAndParse(reader, SmfImage(1, 96, {kEnd, ""})).tracks);
    EXPECT_TRUE(reader.DamagedTracks().empty());
}

TEST(CMidiReaderMerge, OrdersByUnsignedTimeThenTrack) {
    CMidiReader reader;
    // Nine deltas of 0x0FFFFFFF reach 0x8FFFFFF7, negative as a signed number.
    std::string late = "00 90 3C 40";
    for (int i = 0; i < 9; ++i)
        late += " FF FF FF 7F 80 3C 40";
    LoadAndParse(reader, SmfImage(1, 96, {"05 90 3C 40 00 FF 2F 00", late, "05 91 3C 40"}));
    reader.MergeTracks();
    const auto order = MergedOrder(reader);
    ASSERT_EQ(order.size(), 2u + 10u + 1u);
    EXPECT_EQ(order[0], TrackPlace(1, 0));
    EXPECT_EQ(order[1], TrackPlace(0, 0));
    EXPECT_EQ(order[2], TrackPlace(0, 1));
    EXPECT_EQ(order[3], TrackPlace(2, 0));
    for (std::size_t i = 4; i < order.size(); ++i)
        EXPECT_EQ(order[i], TrackPlace(1, i - 3)) << i;
    EXPECT_EQ(reader.MergedEvents().back().time, 0x8FFFFFF7u);
}

TEST(CMidiReaderMerge, ATrackWhoseTimeWrapsStillMergesByItsHeads) {
    CMidiReader reader;
    // Seventeen deltas of 0x0FFFFFFF pass 2^32: the last event's time wraps to 0x0FFFFFEF.
    std::string wrapping = "00 90 3C 40";
    for (int i = 0; i < 17; ++i)
        wrapping += " FF FF FF 7F 80 3C 40";
    LoadAndParse(reader, SmfImage(1, 96, {wrapping, "05 91 3C 40"}));
    reader.MergeTracks();
    const auto order = MergedOrder(reader);
    ASSERT_EQ(order.size(), 19u);
    EXPECT_EQ(order[0], TrackPlace(0, 0));
    EXPECT_EQ(order[1], TrackPlace(1, 0));
    for (std::size_t i = 2; i < order.size(); ++i)
        EXPECT_EQ(order[i], TrackPlace(0, i - 1)) << i;
    EXPECT_EQ(reader.MergedEvents().back().time, 0x0FFFFFEFu);
}

TEST(CMidiReaderFirstMetaText, TakesTheFirstMetaOfAnyTypeUpToAZero) {
    CMidiReader reader;
    LoadAndParse(reader, SmfImage(1, 96,
                                  {"00 90 3C 40",
                                   "00 FF 03 06 53 6F 6E 67 00 78"
                                   " 00 FF 2F 00"}));
    EXPECT_EQ(reader.GetFirstMetaText(), "Song");

    LoadAndParse(reader, SmfImage(0, 96, {"00 FF 51 03 07 A1 20 00 FF 03 01 41 00 FF 2F 00"}));
    EXPECT_EQ(reader.GetFirstMetaText(), "\x07\xA1\x20");

    // An End of Track is a meta event too: its empty payload is the text.
    LoadAndParse(reader, SmfImage(1, 96, {kEnd, "00 FF 03 01 41 00 FF 2F 00"}));
    EXPECT_EQ(reader.GetFirstMetaText(), "");
}

TEST(CMidiReaderLoad, FilesFromDisk) {
    ScopedTempDir dir;
    CMidiReader reader;
    reader.SetPath(dir.Path() / "missing.mid");
    try {
        reader.LoadFile();
        ADD_FAILURE() << "no FileOpenError";
    } catch (const FileOpenError& error) {
        EXPECT_EQ(error.Path(), dir.Path() / "missing.mid");
    }

    SmfWriter writer(0, 192);
    writer.AddTrack().Text(0, 3, "Tune").Note(0, 10, 36, 100, 48).EndOfTrack(96);
    ASSERT_TRUE(writer.Save(dir.Path() / "tune.mid"));
    reader.SetPath(dir.Path() / "tune.mid");
    for (int load = 0; load < 2; ++load) {  // a loaded reader reloads the same path
        ASSERT_TRUE(reader.LoadFile());
        ASSERT_EQ(reader.ParseHeader(), kHeaderOk);
        ASSERT_TRUE(reader.ParseTracks());
        EXPECT_EQ(reader.GetFirstMetaText(), "Tune");
        EXPECT_EQ(reader.TrackEvents(0).size(), 4u);
    }
    reader.Reset();
    EXPECT_TRUE(reader.Path().empty());
    EXPECT_EQ(reader.TrackCount(), 0u);
    EXPECT_EQ(reader.ParseHeader(), kHeaderNoImage);

    test::WriteBytes(dir.Path() / "empty.mid", {});
    reader.SetPath(dir.Path() / "empty.mid");
    EXPECT_TRUE(reader.LoadFile());
    EXPECT_EQ(reader.ParseHeader(), kHeaderNotUsable);

    reader.SetPath(dir.Path());
#ifdef _WIN32
    // Windows does not open a folder as a file at all: the error of a file that is not there.
    EXPECT_THROW(reader.LoadFile(), FileOpenError);
    EXPECT_EQ(reader.ParseHeader(), kHeaderNoImage);
#else
    EXPECT_FALSE(reader.LoadFile()) << "a folder opens but cannot be read";
    EXPECT_EQ(reader.ParseHeader(), kHeaderNotUsable);
#endif
}

TEST(CMidiReaderLoad, RefusesFilesAboveTheCapWithoutReadingThem) {
    ScopedTempDir dir;
    const auto path = dir.Path() / "huge.mid";
    test::WriteBytes(path, SmfImage(0, 192, {kEnd}));
    std::filesystem::resize_file(path, kMaxMidiFileSize + 1);
    CMidiReader reader;
    reader.SetPath(path);
    EXPECT_FALSE(reader.LoadFile());
    EXPECT_EQ(reader.FileLength(), 0u);
    EXPECT_EQ(reader.ParseHeader(), kHeaderNotUsable);
}

}  // namespace
}  // namespace vantrel
