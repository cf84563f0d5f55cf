#include <gtest/gtest.h>

#include <chrono>

#include "MidiImages.h"
#include "midi/CMidiFile.h"
#include "midi/CMidiReader.h"
#include "midi/SmfWriter.h"
#include "midi/SongName.h"

namespace vantrel {
namespace {

using test::Hex;
using test::SmfImage;

// Runs every reader over one image. The song-name scan must give exactly what the file browser
// would show from CMidiReader. Under the sanitizers any read outside the image fails the test.
test::ParseOutcome ReadEverywhere(const std::vector<std::uint8_t>& image) {
    CMidiReader reader;
    const test::ParseOutcome outcome = test::LoadAndParse(reader, image);
    reader.MergeTracks();
    std::optional<std::string> expected;
    if (outcome.header == kHeaderOk && outcome.tracks)
        expected = reader.GetFirstMetaText();
    EXPECT_EQ(SongNameOfImage(image), expected);
    CMidiFile info;
    info.LoadImage(image);
    return outcome;
}

std::vector<std::uint8_t> ValidFile() {
    SmfWriter writer(1, 192);
    writer.AddTrack().Text(0, 3, "Song").Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(768);
    writer.AddTrack()
        .Text(0, 3, "Bass")
        .Raw(0, Hex("F0 05 7E 7F 09 01 F7"))
        .Note(0, 11, 36, 100, 96)
        .Raw(96, Hex("3C 40"))  // running status
        .EndOfTrack(768);
    return writer.Encode();
}

TEST(HostileFiles, EachGetsItsCodeOrADefinedResult) {
    const auto hugeLength =
        Hex("4D 54 68 64 00 00 00 06 00 00 00 01 00 C0 4D 54 72 6B FF FF FF FF"
            " 00 FF 2F 00");
    EXPECT_EQ(ReadEverywhere(hugeLength).header, kHeaderNotUsable);

    auto manyTracks = SmfImage(1, 192, {"00 FF 2F 00"});
    manyTracks[10] = 0xFF;
    manyTracks[11] = 0xFF;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadEverywhere(manyTracks).header, kHeaderNotUsable);
    CMidiFile info;
    EXPECT_FALSE(info.LoadImage(manyTracks));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "hangs";

    EXPECT_EQ(ReadEverywhere({}).header, kHeaderNotUsable);
    EXPECT_EQ(ReadEverywhere(Hex("4D 54 68 64 00 00 00 06 00 01 00 01 00 C0")).header,
              kHeaderNotUsable);
    const auto noTracks = ReadEverywhere(Hex("4D 54 68 64 00 00 00 06 00 00 00 00 00 C0"));
    EXPECT_EQ(noTracks.header, kHeaderOk);
    EXPECT_TRUE(noTracks.tracks);

    for (const char* track :
         {"00 FF 51 02 07 A1", "00 FF 51 04 07 A1 20 00 00 FF 2F 00", "00 FF 58 01 04", "00 F7 00",
          "00 FF 51 03 00 00 00 00 FF 58 04 04 1F 18 08 00 FF 2F 00", "00 FF 2F 00 00 90 3C 40",
          "FF FF FF FF 7F 90 3C 40", "00 FF 01 8F FF FF FF 7F"}) {
        const auto outcome = ReadEverywhere(SmfImage(0, 192, {track}));
        EXPECT_EQ(outcome.header, kHeaderOk) << track;
    }
}

TEST(HostileFiles, EveryPrefixOfAValidFileIsRefusedSafely) {
    const auto image = ValidFile();
    ASSERT_EQ(ReadEverywhere(image).header, kHeaderOk);
    CMidiFile info;
    for (std::size_t size = 0; size < image.size(); ++size) {
        const std::vector<std::uint8_t> prefix(image.begin(), image.begin() + size);
        EXPECT_EQ(ReadEverywhere(prefix).header, kHeaderNotUsable) << size;
        EXPECT_FALSE(info.LoadImage(prefix)) << size;
    }
}

TEST(HostileFiles, EveryTruncatedTrackStopsInsideItsChunk) {
    // The chunk length cuts the events short; a well-formed track follows, whose bytes must not
    // be read as the rest of the cut one.
    SmfTrack track;
    track.Raw(0, Hex("F0 05 7E 7F 09 01 F7")).Text(0, 1, "longer text").Note(0, 1, 60, 90, 10);
    track.Meta(10, 0x7F, {1, 2, 3, 4, 5, 6, 7, 8}).EndOfTrack(20);
    const auto data = track.EncodeData();
    for (std::size_t cut = 0; cut < data.size(); ++cut) {
        ByteWriter out;
        out.Append(Hex("4D 54 68 64 00 00 00 06 00 01 00 02 00 C0 4D 54 72 6B"));
        out.U32BE(static_cast<std::uint32_t>(cut));
        out.Append(std::vector<std::uint8_t>(data.begin(), data.begin() + cut));
        out.Append(Hex("4D 54 72 6B 00 00 00 04 00 FF 2F 00"));
        const auto outcome = ReadEverywhere(out.Bytes());
        EXPECT_EQ(outcome.header, kHeaderOk) << cut;
        // Only the chunk cut to nothing is an empty track; cut inside the leading system-
        // exclusive event, nothing is read but the track is damaged all the same.
        EXPECT_EQ(outcome.tracks, cut == 0) << cut;
    }
}

}  // namespace
}  // namespace vantrel
