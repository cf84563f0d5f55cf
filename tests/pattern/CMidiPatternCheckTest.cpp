#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PatternFixtures.h"
#include "pattern/ControlListEntry.h"

namespace vantrel {
namespace {

using test::Conversion;
using test::Hex;
using test::PatternFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

PatternHeader HeaderOf(const Conversion& c) {
    return DecodeControlListEntry(c.products.controlList).value().header;
}

TEST(PatternChecks, ConductorSettingsMustBeInTrackZero) {
    SmfWriter inTrackOne(1, 192);
    inTrackOne.AddTrack().Tempo(0, 500000).EndOfTrack(0);
    inTrackOne.AddTrack().TimeSignature(0, 4, 2).Note(0, 12, 36, 100, 96).EndOfTrack(96);
    Conversion c(inTrackOne);
    EXPECT_THAT(c.Errors(), ElementsAre(" TimeSign Error"));
    EXPECT_THAT(c.prompt.messages, ElementsAre("Time signature is required!"));
}

TEST(PatternChecks, StopAtTheFirstFailureInTheirOrder) {
    SmfWriter bare(1, 192);
    bare.AddTrack().EndOfTrack(0);
    Conversion neither(bare);
    EXPECT_THAT(neither.Errors(), ElementsAre(" TimeSign Error"));
    EXPECT_THAT(neither.prompt.messages, ElementsAre("Time signature is required!"));

    SmfWriter noTempo(1, 192);
    noTempo.AddTrack().TimeSignature(0, 4, 2).EndOfTrack(0);
    Conversion tempo(noTempo);
    EXPECT_THAT(tempo.Errors(), ElementsAre(" Tempo Error"));
    EXPECT_THAT(tempo.prompt.messages, ElementsAre("Tempo is required!"));

    SmfWriter slow(1, 96);
    slow.AddTrack().TimeSignature(0, 4, 2).EndOfTrack(0);
    Conversion ppqn(slow);
    EXPECT_THAT(ppqn.Errors(), ElementsAre("Warning: PPQN is not 192"));
    EXPECT_THAT(ppqn.prompt.messages, ElementsAre("Error: PPQN is not 192"));
}

TEST(PatternChecks, ReaderFailuresAreErrorEntriesWithoutMessages) {
    Conversion format2(Hex("4D 54 68 64 00 00 00 06 00 02 00 00 00 C0"));
    ASSERT_EQ(format2.Errors().size(), 1u);
    EXPECT_THAT(format2.Errors()[0], HasSubstr("Song.mid Init Error:2"));

    SmfWriter noEnd(1, 192);
    noEnd.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2);
    Conversion process(noEnd);
    ASSERT_EQ(process.Errors().size(), 1u);
    EXPECT_THAT(process.Errors()[0], HasSubstr("Song.mid Process Error"));
    EXPECT_TRUE(format2.prompt.messages.empty());
    EXPECT_TRUE(process.prompt.messages.empty());

    // No tracks at all passes the reader and then lacks track 0's time signature.
    Conversion empty(Hex("4D 54 68 64 00 00 00 06 00 01 00 00 00 C0"));
    EXPECT_THAT(empty.prompt.messages, ElementsAre("Time signature is required!"));
}

TEST(PatternChecks, TempoTimeSignatureAndMeasures) {
    struct Case {
        std::uint32_t micros;
        std::uint8_t numerator, power;
        std::uint32_t lastTick;
        std::uint16_t tempo;
        std::uint8_t signature;
        std::uint16_t measures;
    };
    for (const Case& k :
         {Case{500000, 4, 2, 1536, 120, 0x24, 2}, Case{400000, 4, 2, 1537, 150, 0x24, 3},
          Case{600001, 6, 3, 1152, 100, 0x36, 2}, Case{500000, 3, 2, 576, 120, 0x23, 1}}) {
        SmfWriter writer(1, 192);
        writer.AddTrack()
            .Tempo(0, k.micros)
            .TimeSignature(0, k.numerator, k.power)
            .EndOfTrack(k.lastTick);
        Conversion c(writer);
        ASSERT_TRUE(c.Errors().empty());
        const PatternHeader h = HeaderOf(c);
        EXPECT_EQ(h.tempo, k.tempo) << k.micros;
        EXPECT_EQ(h.timeSignature, k.signature);
        EXPECT_EQ(h.measures, k.measures) << k.lastTick;
        EXPECT_EQ(h.channelMask, 0);  // a conductor track alone has no channel
    }
}

TEST(PatternChecks, ZeroNumeratorAndZeroTempoStoreZeroInsteadOfFaulting) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 0).Meta(0, 0x58, {0, 2, 24, 8}).EndOfTrack(768);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    EXPECT_EQ(HeaderOf(c).tempo, 0);
    EXPECT_EQ(HeaderOf(c).measures, 0);
}

TEST(PatternChecks, FirstValidKindMarkerWins) {
    auto kindOf = [](std::vector<std::string> markers) {
        SmfWriter file(1, 192);
        SmfTrack& conductor = file.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2);
        for (const auto& m : markers)
            conductor.Text(0, 0x06, m);
        conductor.EndOfTrack(0);
        Conversion c(file);
        return HeaderOf(c).kind;
    };
    EXPECT_EQ(kindOf({"qz4wt", "qz4wh"}), 2);
    EXPECT_EQ(kindOf({"qz4wx", "qz4wp"}), 1);
    EXPECT_EQ(kindOf({"qz4wh"}), 3);
    EXPECT_EQ(kindOf({"qz4w"}), 0);
}

TEST(PatternChecks, MixedTracksAreRefused) {
    SmfWriter twoChannels = PatternFile();
    twoChannels.AddTrack().Note(0, 10, 36, 100, 96).Note(0, 12, 36, 100, 96).EndOfTrack(96);
    Conversion mixed(twoChannels);
    ASSERT_EQ(mixed.Errors().size(), 1u);
    EXPECT_THAT(mixed.Errors()[0], HasSubstr("Song.mid Track 1 Error"));
    EXPECT_THAT(mixed.prompt.messages, ElementsAre("Mixed tracks are not allowed!"));

    SmfWriter sameChannelTwice = PatternFile();
    sameChannelTwice.AddTrack().Note(0, 10, 36, 100, 96).EndOfTrack(96);
    sameChannelTwice.AddTrack().Note(0, 10, 38, 100, 96).EndOfTrack(96);
    Conversion twice(sameChannelTwice);
    ASSERT_EQ(twice.Errors().size(), 1u);
    EXPECT_THAT(twice.Errors()[0], HasSubstr("Track 2 Error"));
    EXPECT_THAT(twice.prompt.messages, ElementsAre("Mixed tracks are not allowed!"));
}

TEST(PatternChecks, ChannelsOneToNineAreRefused) {
    for (std::uint8_t channel : {1, 9}) {
        SmfWriter writer = PatternFile();
        writer.AddTrack().Note(0, channel, 60, 100, 96).EndOfTrack(96);
        Conversion c(writer);
        EXPECT_THAT(c.Errors(), ElementsAre("MIDI file containing track 1-8 is not supported!"));
        EXPECT_THAT(c.prompt.messages,
                    ElementsAre("MIDI file containing track 1-8 is not supported!"));
    }
}

TEST(PatternChecks, UnmatchedNoteIsReportedOncePerNote) {
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Raw(0, Hex("9B 24 64"))
        .Raw(0, Hex("9B 26 64"))
        .Raw(96, Hex("8B 26 40"))
        .Raw(192, Hex("9B 28 64"))
        .EndOfTrack(384);
    Conversion c(writer);
    ASSERT_EQ(c.Errors().size(), 2u);
    EXPECT_THAT(c.Errors()[0], HasSubstr("Song.mid Track 1 Error Back Find 0x9N 9b 24"));
    EXPECT_THAT(c.Errors()[1], HasSubstr("Track 1 Error Back Find 0x9N 9b 28"));
    EXPECT_THAT(c.prompt.messages, ElementsAre("Note Off Error!", "Note Off Error!"));
    EXPECT_FALSE(c.products.Passed());
}

TEST(PatternChecks, TimingThatDoesNotFitTheWrittenFormsIsRefused) {
    SmfWriter longDelta = PatternFile();
    longDelta.AddTrack()
        .Note(0, 12, 36, 100, 96)
        .Note(2097248, 12, 36, 100, 96)
        .EndOfTrack(2097344);
    Conversion delta(longDelta);
    ASSERT_EQ(delta.Errors().size(), 1u);
    EXPECT_THAT(delta.Errors()[0], HasSubstr("Track 1 Error Delta Too Long 0x9b 24 64"));
    EXPECT_TRUE(delta.products.patternData.empty());

    SmfWriter justFits = PatternFile();
    justFits.AddTrack()
        .Note(0, 12, 36, 100, 96)
        .Note(2097247, 12, 36, 100, 16383)
        .EndOfTrack(2097247 + 16383);
    EXPECT_TRUE(Conversion(justFits).Errors().empty());

    SmfWriter longNote = PatternFile();
    longNote.AddTrack().Note(0, 12, 36, 100, 16384).EndOfTrack(16384);
    Conversion note(longNote);
    ASSERT_EQ(note.Errors().size(), 1u);
    EXPECT_THAT(note.Errors()[0], HasSubstr("Track 1 Error Note Too Long 0x9b 24 64"));
}

TEST(PatternChecks, ADataByteWithBitSevenSetIsRefusedNotWrittenRaw) {
    // A file found by fuzzing: in track 2 a note off on channel 12 reads 8B 90 40, key 0x90.
    Conversion found(
        Hex("4d546864000000060001000400c04d54726b0000002500ff03044261737300ff5103"
            "07a12000ff58040402180800ff0605717a3477748300ff2f004d54726b0000002200"
            "ff21010100b904200099246400266430240000260000a9247f00e9004000ff2f004d"
            "54726b0000001c00bb0750002400642160cb7f8b2440ffff5f4000028b904000ff2f"
            "004d54726b00000000"));
    EXPECT_THAT(found.Errors(),
                ElementsAre(HasSubstr("Song.mid Track 2 Error Data Byte 0x8b 90 40")));
    EXPECT_TRUE(found.products.patternData.empty());

    // Every kind of channel message is judged, also those that only set a channel's program.
    for (const char* event : {"9B 24 80", "EB 00 FF", "CB 85", "BB 07 C0"}) {
        SmfWriter writer = PatternFile();
        writer.AddTrack().Note(0, 12, 36, 100, 96).Raw(96, Hex(event)).EndOfTrack(192);
        Conversion c(writer);
        EXPECT_THAT(c.Errors(), ElementsAre(HasSubstr("Track 1 Error Data Byte"))) << event;
    }
}

TEST(PatternChecks, AnEndOfTrackBeforeTheEndOfItsTrackIsRefused) {
    // The converter would write both ends; the data after the first is unreadable.
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Note(0, 12, 36, 100, 96)
        .EndOfTrack(96)
        .Channel(120, 0xB0, 12, 1, 66)
        .EndOfTrack(192);
    Conversion c(writer);
    EXPECT_THAT(c.Errors(),
                ElementsAre(HasSubstr("Track 1 Error End of Track at tick 96 before the end")));
    EXPECT_TRUE(c.products.patternData.empty());
}

TEST(PatternChecks, PatternDataBeyondSixteenBitsIsRefused) {
    SmfWriter writer = PatternFile();
    SmfTrack& track = writer.AddTrack();
    // 14,000 notes of 9 bytes each run past 65,535 bytes of pattern data.
    for (std::uint32_t i = 0; i < 14000; ++i)
        track.Note(i * 4, 10, 36, 100, 2);
    track.EndOfTrack(56000);
    Conversion c(writer);
    ASSERT_EQ(c.Errors().size(), 1u);
    EXPECT_THAT(c.Errors()[0], HasSubstr("Song.mid Pattern Size Error"));
}

}  // namespace
}  // namespace vantrel
