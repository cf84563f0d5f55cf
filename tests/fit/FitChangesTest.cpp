#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FitFixtures.h"

namespace vantrel {
namespace {

using test::ChannelEvents;
using test::Details;
using test::Fit;
using test::Hex;
using test::Kinds;
using test::ReadBack;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(FitDivision, TimesAreRescaledToTheNearestTickAndNoNoteLosesItsLength) {
    SmfWriter writer(1, 480);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(1920);
    writer.AddTrack()
        .Note(0, 12, 36, 100, 480)   // a quarter: 192 ticks
        .Note(1000, 12, 38, 100, 1)  // 400 and 400.4: 0 ticks long
        .Note(1202, 12, 40, 100, 2)  // 480.8 -> 481, off 481.6 -> 482
        .EndOfTrack(1920);
    const FitResult result = Fit(writer);
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(Kinds(result), ElementsAre("division"));
    // 1001 comes back as 400 * 2.5 = 1000: the largest error is one input tick.
    EXPECT_THAT(result.changes[0].detail,
                HasSubstr("division 480 to 192 ticks per quarter note; largest timing error "
                          "1.00 of the input's ticks; 1 notes that would last 0 ticks keep 1"));
    const auto back = ReadBack(result.output);
    EXPECT_EQ(back->Division(), 192);
    EXPECT_THAT(ChannelEvents(*back, 1),
                ElementsAre("9B 24 64 @0", "8B 24 40 @192", "9B 26 64 @400", "8B 26 40 @401",
                            "9B 28 64 @481", "8B 28 40 @482"));
    EXPECT_EQ(back->TrackEvents(1).back().time, 768u);
    EXPECT_TRUE(result.Fits()) << Details(result);
}

TEST(FitDivision, SmpteTimeAndBrokenFilesAreRefused) {
    SmfWriter smpte(1, 0xE728);  // 25 frames of 40 ticks
    smpte.AddTrack().Note(0, 10, 36, 100, 40).EndOfTrack(80);
    const FitResult frames = Fit(smpte);
    EXPECT_TRUE(frames.refused);
    EXPECT_THAT(frames.reason, HasSubstr("SMPTE"));
    EXPECT_FALSE(frames.Fits());

    const FitResult notMidi = FitMidiImage(Hex("4D 54 68 64 00 00 00 06 00 02 00 00 00 C0"), {});
    EXPECT_TRUE(notMidi.refused);
    EXPECT_THAT(notMidi.reason, HasSubstr("format 0 or 1"));
}

TEST(FitTracks, FormatZeroIsSplitIntoOneTrackPerChannelWithSongEventsInTrackZero) {
    SmfWriter writer(0, 192);
    writer.AddTrack()
        .Text(0, 0x03, "Groove")
        .Tempo(0, 500000)
        .TimeSignature(0, 4, 2)
        .Note(0, 10, 36, 100, 96)
        .Note(0, 12, 40, 90, 192)
        .Text(192, 0x06, "B")
        .Note(96, 10, 38, 100, 96)
        .EndOfTrack(384);
    const FitResult result = Fit(writer);
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(result.changes[0].detail, HasSubstr("format 0: channels 10, 12 split"));
    const auto back = ReadBack(result.output);
    ASSERT_EQ(back->TrackCount(), 3u);
    EXPECT_EQ(back->Format(), 1);
    EXPECT_TRUE(ChannelEvents(*back, 0).empty());
    EXPECT_THAT(ChannelEvents(*back, 1),
                ElementsAre("99 24 64 @0", "89 24 40 @96", "99 26 64 @96", "89 26 40 @192"));
    EXPECT_THAT(ChannelEvents(*back, 2), ElementsAre("9B 28 5A @0", "8B 28 40 @192"));
    std::vector<std::uint8_t> metaTypes;
    for (const MidiEvent& event : back->TrackEvents(0))
        metaTypes.push_back(event.MetaType());
    EXPECT_THAT(metaTypes, ElementsAre(0x03, 0x51, 0x58, 0x06, 0x2F));
    EXPECT_EQ(result.notesIn, result.notesOut);
    EXPECT_TRUE(result.Fits()) << Details(result);
}

TEST(FitTracks, TheSameChannelInTwoTracksBecomesOneTrack) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(384);
    writer.AddTrack().Note(0, 12, 36, 100, 96).EndOfTrack(384);
    writer.AddTrack().Note(192, 12, 43, 100, 96).EndOfTrack(384);
    const FitResult result = Fit(writer);
    EXPECT_THAT(Details(result), HasSubstr("channel 12 of tracks 1, 2 joined into one track"));
    const auto back = ReadBack(result.output);
    ASSERT_EQ(back->TrackCount(), 2u);
    EXPECT_THAT(ChannelEvents(*back, 1),
                ElementsAre("9B 24 64 @0", "8B 24 40 @96", "9B 2B 64 @192", "8B 2B 40 @288"));
    EXPECT_TRUE(result.Fits()) << Details(result);
}

TEST(FitConductor, TheFirstTempoAndTimeSignatureGoToTickZeroOfTrackZero) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Text(0, 0x03, "Song").EndOfTrack(0);
    writer.AddTrack()
        .TimeSignature(96, 3, 2)
        .Tempo(96, 400000)
        .Tempo(288, 600000)
        .Note(0, 12, 36, 100, 96)
        .EndOfTrack(576);
    const FitResult result = Fit(writer);
    ASSERT_FALSE(result.refused) << result.reason;
    const std::string details = Details(result);
    EXPECT_THAT(details, HasSubstr("3 tempo, time signature and marker events moved into track 0"));
    EXPECT_THAT(details, HasSubstr("the first tempo moved from tick 96 to tick 0 of track 0"));
    EXPECT_THAT(details, HasSubstr("the first time signature moved from tick 96 to tick 0"));
    const auto back = ReadBack(result.output);
    std::vector<std::string> conductor;
    for (const MidiEvent& event : back->TrackEvents(0))
        conductor.push_back(std::to_string(event.MetaType()) + "@" + std::to_string(event.time));
    EXPECT_THAT(conductor, ElementsAre("88@0", "81@0", "3@0", "81@288", "47@288"));
    EXPECT_TRUE(result.Fits()) << details;
}

TEST(FitConductor, MissingTempoAndTimeSignatureTakeTheOptionsOrDefaults) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Note(0, 12, 36, 100, 96).EndOfTrack(384);
    const FitResult defaults = Fit(writer);
    EXPECT_THAT(Details(defaults), HasSubstr("no tempo in the file: 120 BPM used"));
    EXPECT_THAT(Details(defaults), HasSubstr("no time signature in the file: 4/4 used"));
    EXPECT_TRUE(defaults.Fits()) << Details(defaults);

    FitOptions options;
    options.tempoBpm = 100;
    ASSERT_EQ(ParseTimeSignature("6/8", options), "");
    const FitResult chosen = Fit(writer, options);
    EXPECT_THAT(Details(chosen), HasSubstr("no tempo in the file: 100 BPM (--tempo) used"));
    EXPECT_THAT(Details(chosen), HasSubstr("6/8 (--time-signature) used"));
    const auto back = ReadBack(chosen.output);
    int tempo = 0;
    for (const MidiEvent& event : back->TrackEvents(0)) {
        if (event.MetaType() == 0x51) {
            const auto payload = event.MetaPayload();
            tempo = (payload[0] << 16) | (payload[1] << 8) | payload[2];
        }
    }
    EXPECT_EQ(tempo, 600000);
}

// Channel 3 plays high from tick 0, channel 5 low from tick 96, channel 10 drums, channel 14
// chords; channel 7 only changes its program.
SmfWriter FourChannels() {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(768);
    writer.AddTrack().Note(0, 3, 72, 100, 96).Note(192, 3, 76, 100, 96).EndOfTrack(768);
    writer.AddTrack().Note(96, 5, 36, 100, 96).EndOfTrack(768);
    writer.AddTrack().Note(0, 10, 36, 100, 48).EndOfTrack(768);
    writer.AddTrack().Note(0, 14, 60, 100, 48).EndOfTrack(768);
    writer.AddTrack().Channel(0, 0xC0, 7, 5).EndOfTrack(768);
    return writer;
}

TEST(FitChannels, TheDefaultRuleKeepsDrumsAndPlacedChannelsAndPutsTheBassOnTwelve) {
    const FitResult result = Fit(FourChannels());
    ASSERT_FALSE(result.refused) << result.reason;
    const std::string details = Details(result);
    EXPECT_THAT(details, HasSubstr("channel 7 carries no notes: its 1 events left out"));
    EXPECT_THAT(details, HasSubstr("channel 5 to 12 (bass: the lowest mean pitch)"));
    EXPECT_THAT(details, HasSubstr("channel 3 to 13"));
    EXPECT_EQ(result.channelMap, (std::map<int, int>{{3, 13}, {5, 12}, {10, 10}, {14, 14}}));
    EXPECT_EQ(result.notesOut, (std::map<int, int>{{10, 1}, {12, 1}, {13, 2}, {14, 1}}));
    const auto back = ReadBack(result.output);
    EXPECT_EQ(back->TrackCount(), 5u);
    EXPECT_EQ(ChannelEvents(*back, 1)[0], "9C 48 64 @0");
    EXPECT_TRUE(result.Fits()) << details;
}

TEST(FitChannels, MapPairsComeFirstAndChannelElevenSaysWhatItsProgramMeans) {
    SmfWriter writer = FourChannels();
    writer.AddTrack().Channel(0, 0xC0, 8, 12).Note(0, 8, 50, 100, 96).EndOfTrack(768);
    FitOptions options;
    ASSERT_EQ(ParseChannelMap("3=16,8=11", options.channelMap), "");
    const FitResult result = Fit(writer, options);
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_EQ(result.channelMap,
              (std::map<int, int>{{3, 16}, {5, 12}, {8, 11}, {10, 10}, {14, 14}}));
    EXPECT_THAT(Details(result), HasSubstr("channel 8 to 11 (its program change now selects a "
                                           "percussion set, as on channel 11)"));
    EXPECT_TRUE(result.Fits()) << Details(result);

    std::map<int, int> bad;
    EXPECT_THAT(ParseChannelMap("3=9", bad), HasSubstr("channels 10-16 only"));
    EXPECT_THAT(ParseChannelMap("3=12,4=12", bad), HasSubstr("each channel once"));
    EXPECT_THAT(ParseChannelMap("x", bad), HasSubstr("SRC=DST"));
}

TEST(FitChannels, MoreChannelsThanPlacesAreRefusedUntilSomeAreDropped) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(768);
    SmfTrack& all = writer.AddTrack();
    for (std::uint8_t channel = 1; channel <= 8; ++channel) {
        for (std::uint8_t n = 0; n < channel; ++n)
            all.Note(n * 48u, channel, static_cast<std::uint8_t>(40 + channel), 100, 24);
    }
    all.Note(0, 10, 36, 100, 48).EndOfTrack(768);
    const FitResult refused = Fit(writer);
    ASSERT_TRUE(refused.refused);
    EXPECT_EQ(refused.reason,
              "9 channels carry notes (1, 2, 3, 4, 5, 6, 7, 8, 10) but the keyboard plays 7 (10 "
              "for drums, 11-16): leave some out with --drop, e.g. --drop 1,2 (the channels "
              "with the fewest notes)");

    FitOptions options;
    ASSERT_EQ(ParseChannelList("1,2", options.dropChannels), "");
    const FitResult dropped = Fit(writer, options);
    ASSERT_FALSE(dropped.refused) << dropped.reason;
    EXPECT_THAT(Details(dropped), HasSubstr("channel 2 left out as asked: 2 notes, 4 events"));
    int notesOut = 0;
    for (const auto& [channel, count] : dropped.notesOut)
        notesOut += count;
    EXPECT_EQ(notesOut, 1 + (3 + 4 + 5 + 6 + 7 + 8));
    EXPECT_TRUE(dropped.Fits()) << Details(dropped);
}

TEST(FitNotes, AHeldNoteEndsAtTheEndOfItsLastMeasure) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 3, 2).EndOfTrack(0);
    writer.AddTrack()
        .Note(0, 12, 36, 100, 96)
        .Channel(600, 0x90, 12, 40, 100)
        .Channel(620, 0x90, 12, 40, 100)  // struck again, still never released
        .EndOfTrack(700);
    const FitResult result = Fit(writer);
    ASSERT_FALSE(result.refused) << result.reason;
    // 3/4: measures of 576 ticks; the song ends at 700, in its second measure.
    EXPECT_THAT(Kinds(result), ElementsAre("held-note", "held-note"));
    EXPECT_EQ(result.changes[0].detail,
              "channel 12 key 40 from tick 600 released at tick 1152, the end of its last "
              "measure");
    const auto back = ReadBack(result.output);
    EXPECT_EQ(ChannelEvents(*back, 1).back(), "8B 28 40 @1152");
    EXPECT_TRUE(result.Fits()) << Details(result);
}

TEST(FitNotes, MeasuresKeepsTheFirstOnesAndSaysWhatWasCut) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    writer.AddTrack()
        .Note(0, 12, 36, 100, 96)
        .Note(700, 12, 38, 100, 200)  // sounds across the cut at 768
        .Note(768, 12, 40, 100, 96)
        .Note(1000, 12, 41, 100, 96)
        .EndOfTrack(1536);
    FitOptions options;
    options.measures = 1;
    const FitResult result = Fit(writer, options);
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(Kinds(result), ElementsAre("length"));
    EXPECT_EQ(result.changes[0].detail,
              "kept the first 1 measures (ticks 0 to 768): cut 4 events, 2 of them notes; 1 "
              "notes sounding at the cut end there");
    EXPECT_EQ(result.notesIn.at(12), 4);
    EXPECT_EQ(result.notesOut.at(12), 2);
    const auto back = ReadBack(result.output);
    EXPECT_THAT(ChannelEvents(*back, 1),
                ElementsAre("9B 24 64 @0", "8B 24 40 @96", "9B 26 64 @700", "8B 26 40 @768"));
    EXPECT_EQ(back->TrackEvents(1).back().time, 768u);

    options.measures = 2;
    EXPECT_THAT(Kinds(Fit(writer, options)), ElementsAre("unchanged"));
}

TEST(FitNotes, AChannelWhoseNotesAllLieBeyondTheCutIsLeftOut) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    writer.AddTrack().Note(0, 12, 36, 100, 96).EndOfTrack(1536);
    writer.AddTrack().Channel(0, 0xC0, 13, 5).Note(800, 13, 60, 100, 96).EndOfTrack(1536);
    FitOptions options;
    options.measures = 1;
    const FitResult result = Fit(writer, options);
    EXPECT_THAT(Details(result),
                HasSubstr("channel 13 has no notes in the measures kept: its 1 events left out"));
    EXPECT_EQ(result.channelMap, (std::map<int, int>{{12, 12}}));
    EXPECT_EQ(test::ReadBack(result.output)->TrackCount(), 2u);
    // Fitting again finds nothing left to do.
    EXPECT_THAT(Kinds(FitMidiImage(result.output, options)), ElementsAre("unchanged"));
}

TEST(FitNotes, EventsWithADataByteOf128OrMoreAreLeftOutAndReported) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    writer.AddTrack().Note(0, 12, 36, 100, 96).Raw(96, Hex("8B 90 40")).EndOfTrack(192);
    const FitResult result = Fit(writer);
    EXPECT_THAT(Details(result), HasSubstr("track 1: left out 8B 90 40 at tick 96"));
    EXPECT_TRUE(result.Fits()) << Details(result);
}

TEST(FitBudgetRoom, ThinBendsKeepsOneBendAThirtySecondAndTheValueEachRunEndsOn) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    SmfTrack& track = writer.AddTrack();
    track.Note(0, 12, 36, 100, 384);
    for (std::uint8_t step = 0; step <= 25; ++step)
        track.Channel(step * 4u, 0xE0, 12, 0, static_cast<std::uint8_t>(64 + step));
    track.Channel(400, 0xE0, 12, 0, 64);
    for (std::uint32_t tick = 0; tick < 96; tick += 8)
        track.Channel(tick, 0xB0, 12, 1, 30);  // modulation that never changes
    track.Channel(8, 0xB0, 12, 64, 127).Channel(10, 0xB0, 12, 64, 0);  // sustain is left alone
    track.EndOfTrack(768);

    EXPECT_THAT(Kinds(Fit(writer)), ElementsAre("unchanged"));
    FitOptions options;
    options.thinBends = true;
    const FitResult result = Fit(writer, options);
    EXPECT_THAT(Kinds(result), ElementsAre("thinned"));
    EXPECT_THAT(result.changes[0].detail, HasSubstr("channel 12: left out 31 pitch bend"));
    std::vector<std::string> kept;
    for (const std::string& event : ChannelEvents(*ReadBack(result.output), 1)) {
        if (event.rfind("EB", 0) == 0 || event.rfind("BB 01", 0) == 0)
            kept.push_back(event);
    }
    EXPECT_THAT(kept,
                ElementsAre("EB 00 40 @0", "BB 01 1E @0", "EB 00 46 @24", "EB 00 4C @48",
                            "EB 00 52 @72", "EB 00 58 @96", "EB 00 59 @100", "EB 00 40 @400"));
    EXPECT_TRUE(result.Fits()) << Details(result);
    EXPECT_THAT(Kinds(FitMidiImage(result.output, options)), ElementsAre("unchanged"));
}

}  // namespace
}  // namespace vantrel
