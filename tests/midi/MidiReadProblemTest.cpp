// The reason given to the user when a file cannot be read as a MIDI file at all.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DamagedTrackFiles.h"
#include "MidiImages.h"
#include "common/ScopedTempDir.h"
#include "midi/MidiReadProblem.h"

namespace vantrel {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class MidiReadProblemTest : public ::testing::Test {
  protected:
    std::optional<std::string> Describe(const std::vector<std::uint8_t>& bytes) {
        const auto path = temp_.Path() / "song.mid";
        test::WriteBytes(path, bytes);
        return DescribeReadProblem(path);
    }
    ScopedTempDir temp_;
};

TEST_F(MidiReadProblemTest, ACleanFileHasNoProblem) {
    EXPECT_EQ(Describe(test::SmfImage(1, 192, {"00 FF 2F 00", "00 99 24 64 00 FF 2F 00"})),
              std::nullopt);
}

TEST_F(MidiReadProblemTest, EachWayOfBeingCutShortIsNamedWithTheFile) {
    auto whole = test::SmfImage(1, 192, {"00 FF 2F 00", "00 99 24 64 00 FF 2F 00"});

    auto cutInHeader = whole;
    cutInHeader.resize(10);
    EXPECT_THAT(Describe(cutInHeader).value_or(""),
                StartsWith("song.mid is not a complete MIDI file: it ends inside its header"));

    auto cutInSecondTrack = whole;
    cutInSecondTrack.resize(whole.size() - 3);
    EXPECT_THAT(Describe(cutInSecondTrack).value_or(""), HasSubstr("1 of 2 tracks are present"));

    // A track whose chunk is whole but ends without End of Track.
    EXPECT_THAT(Describe(test::SmfImage(0, 192, {"00 99 24 64"})).value_or(""),
                HasSubstr("track 0 does not end with End of Track"));

    // A track whose events cannot be read from the first one is named, not taken as empty.
    EXPECT_EQ(Describe(test::NoStatusSong()).value_or(""),
              "song.mid is not a complete MIDI file: track 1 is damaged: its events stop at "
              "byte 0 of 41, before End of Track (0 events read)");
    EXPECT_THAT(Describe(test::FiveByteDeltaSong()).value_or(""), HasSubstr("track 1 is damaged"));
}

TEST_F(MidiReadProblemTest, FilesThatAreNoMidiFileOrTheWrongKindSayWhy) {
    EXPECT_EQ(Describe({}), std::optional<std::string>("song.mid is empty"));
    EXPECT_THAT(Describe(test::Hex("52 49 46 46 00 00 00 04 57 41 56 45")).value_or(""),
                HasSubstr("does not start with a MIDI header"));
    EXPECT_THAT(Describe(test::SmfImage(2, 192, {"00 FF 2F 00"})).value_or(""),
                HasSubstr("is a format 2 MIDI file"));
    auto trailing = test::SmfImage(0, 192, {"00 FF 2F 00"});
    trailing.push_back(0);
    EXPECT_THAT(Describe(trailing).value_or(""), HasSubstr("has bytes after its last track"));
    EXPECT_EQ(DescribeReadProblem(temp_.Path() / "missing.mid"),
              std::optional<std::string>("missing.mid cannot be opened"));
}

}  // namespace
}  // namespace vantrel
