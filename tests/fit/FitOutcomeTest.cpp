#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DamagedTrackFiles.h"
#include "FitFixtures.h"
#include "fit/FitResult.h"

namespace vantrel {
namespace {

using test::Details;
using test::Fit;
using test::Hex;
using test::Kinds;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// What a musician's file often looks like: 480 ticks per quarter note, format 0, melody on
// channel 1, bass on channel 2, drums on 10, tempo late in the song, a note never released.
SmfWriter OrdinarySong() {
    SmfWriter writer(0, 480);
    SmfTrack& track = writer.AddTrack();
    track.Text(0, 0x03, "Tune").TimeSignature(0, 4, 2).Tempo(10, 461538);
    for (std::uint32_t beat = 0; beat < 24; ++beat) {
        track.Note(beat * 480, 1, static_cast<std::uint8_t>(60 + beat % 5), 90, 400);
        track.Note(beat * 480, 10, 36, 100, 120);
        if (beat % 2 == 0)
            track.Note(beat * 480, 2, 33, 100, 900);
    }
    track.Channel(7500, 0x90, 1, 72, 80);
    track.EndOfTrack(11520);  // six measures
    return writer;
}

TEST(FitOutcome, AnOrdinarySongComesOutFittingAndFittingItAgainChangesNothing) {
    FitOptions options;
    options.measures = 4;
    const FitResult first = Fit(OrdinarySong(), options);
    ASSERT_FALSE(first.refused) << first.reason;
    EXPECT_THAT(Kinds(first), ElementsAre("division", "split", "conductor", "channel", "channel",
                                          "held-note", "length"));
    EXPECT_TRUE(first.Fits()) << Details(first);
    EXPECT_EQ(first.notesIn.at(1), 25);
    EXPECT_EQ(first.notesOut.at(13), 17);  // the held note is within the four measures

    const FitResult second = FitMidiImage(first.output, options);
    EXPECT_THAT(Kinds(second), ElementsAre("unchanged"));
    EXPECT_TRUE(second.unchanged);
    EXPECT_EQ(second.output, first.output);
    EXPECT_EQ(second.bytes, first.bytes);
}

TEST(FitOutcome, AFileThatFitsKeepsItsOwnBytes) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(384);
    writer.AddTrack().Channel(0, 0xC0, 12, 33).Note(0, 12, 36, 100, 96).EndOfTrack(384);
    const auto bytes = writer.Encode();
    const FitResult result = FitMidiImage(bytes, {});
    EXPECT_TRUE(result.unchanged);
    EXPECT_EQ(result.output, bytes);
    EXPECT_THAT(result.changes[0].detail, HasSubstr("already fits"));
}

TEST(FitOutcome, TheBudgetCountsTheProductsTheUploadSends) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(384);
    // The worked bass pattern: 38 bytes of pattern data, 22 of them channel 12's.
    writer.AddTrack()
        .Raw(0, Hex("9B 24 64"))
        .Raw(96, Hex("8B 24 40"))
        .Raw(192, Hex("9B 24 64"))
        .Raw(384, Hex("8B 24 40"))
        .EndOfTrack(384);
    const FitResult small = Fit(writer);
    EXPECT_EQ(small.bytes, 82u + 38u);
    EXPECT_EQ(small.channelBytes, (std::map<int, std::size_t>{{12, 22}}));
    EXPECT_TRUE(small.Fits());

    SmfWriter dense(1, 192);
    dense.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    SmfTrack& drums = dense.AddTrack();
    for (std::uint32_t i = 0; i < 400; ++i)
        drums.Note(i * 4, 10, static_cast<std::uint8_t>(36 + i % 2), 100, 2);
    drums.EndOfTrack(1600);
    const FitResult large = Fit(dense);
    EXPECT_TRUE(large.checkErrors.empty());
    EXPECT_GT(large.bytes, kFitBudget);
    EXPECT_FALSE(large.Fits());
}

TEST(FitOutcome, TheFileFuzzingFoundFitsOnceItsBrokenEventIsLeftOut) {
    const FitResult result = FitMidiImage(
        Hex("4d546864000000060001000400c04d54726b0000002500ff03044261737300ff510307a12000ff580404"
            "02180800ff0605717a3477748300ff2f004d54726b0000002200ff21010100b90420009924640026643"
            "0240000260000a9247f00e9004000ff2f004d54726b0000001c00bb0750002400642160cb7f8b2440ff"
            "ff5f4000028b904000ff2f004d54726b00000000"),
        {});
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(result.changes[0].detail, HasSubstr("track 2: left out 8B 90 40"));
    EXPECT_TRUE(result.checkErrors.empty()) << Details(result);
}

TEST(FitOutcome, ADamagedTrackIsRefusedWithItsNumberNotFittedAsEmpty) {
    for (const auto& image : {test::FiveByteDeltaSong(), test::NoStatusSong()}) {
        const FitResult result = FitMidiImage(image, {});
        ASSERT_TRUE(result.refused);
        EXPECT_THAT(result.reason, HasSubstr("track 1 is damaged"));
        EXPECT_FALSE(result.Fits());
    }
}

TEST(FitOutcome, AnEarlyEndOfTrackGoesAndTimesBeyondAFilesReachAreRefused) {
    SmfWriter early(1, 192);
    early.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    early.AddTrack()
        .Note(0, 12, 36, 100, 96)
        .EndOfTrack(96)
        .Note(192, 12, 38, 100, 96)
        .EndOfTrack(384);
    const FitResult mended = Fit(early);
    EXPECT_TRUE(mended.checkErrors.empty()) << Details(mended);
    EXPECT_EQ(mended.notesOut.at(12), 2);

    SmfWriter far(1, 192);
    far.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    SmfTrack& track = far.AddTrack();
    track.Note(0, 12, 36, 100, 96);
    // Raw bytes carry their own delta after the writer's: 0x0FFFFFFF then another 0x0FFFFFFF.
    track.Raw(0x0FFFFFFF, Hex("BB 01 10 FF FF FF 7F BB 01 20"));
    track.EndOfTrack(0x0FFFFFFF);
    const FitResult beyond = Fit(far);
    ASSERT_TRUE(beyond.refused);
    EXPECT_THAT(beyond.reason, HasSubstr("longer than a MIDI file's times can hold"));
}

TEST(FitOptionsText, TimeSignaturesAndChannelListsAreChecked) {
    FitOptions options;
    EXPECT_EQ(ParseTimeSignature("7/8", options), "");
    EXPECT_EQ(*options.numerator, 7);
    EXPECT_EQ(options.denominatorPower, 3);
    for (const char* bad : {"4", "4/3", "0/4", "x/4", "4/128"})
        EXPECT_THAT(ParseTimeSignature(bad, options), HasSubstr("N/D")) << bad;
    std::set<int> channels;
    EXPECT_EQ(ParseChannelList("3,16", channels), "");
    EXPECT_EQ(channels, (std::set<int>{3, 16}));
    EXPECT_THAT(ParseChannelList("17", channels), HasSubstr("channels 1-16"));
}

}  // namespace
}  // namespace vantrel
