#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "../cli/CliRun.h"
#include "PlayFixtures.h"
#include "TestFiles.h"
#include "WavReader.h"
#include "music/ChordChart.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = VANTREL_EXAMPLES_DIR;
constexpr const char* kChart = "C | Am | F | G7";

fs::path Golden(const std::string& name) {
    const char* data = std::getenv("VANTREL_TEST_DATA");
    return fs::path(data != nullptr ? data : "tests/data") / "play" / name;
}

play::Performance ExamplePerformance(const std::string& file, int loops = 1) {
    const play::PartLoad load = play::LoadPatternFile(kExamples / file, play::KindFromName(file));
    EXPECT_TRUE(load.Ok());
    return play::BuildPerformance(load.parts, *music::ParseChordChart(kChart).chart,
                                  {std::nullopt, loops});
}

class PlayCommand : public ::testing::Test {
  protected:
    CliResult Run(const std::string& arguments) {
        return RunCli(arguments, work_.Path(), tmp_.Path());
    }
    fs::path Work() const { return work_.Path(); }
    bool TmpIsEmpty() const { return fs::is_empty(tmp_.Path()); }

  private:
    ScopedTempDir work_;
    ScopedTempDir tmp_;
};

// The example style under "C | Am | F | G7", checked in as MIDI files and compared byte for
// byte. Reviewed when they were made: played through FluidSynth with FluidR3_GM, the drums keep
// their groove, the bass walks C, A, F, G on the downbeats and the pads move from C major 7 to
// A minor, F major and G7 without a note outside its chord; the Intro and the Ending stay in C.
// BassAndChordsSoundEachMeasuresChord below checks the same by pitch classes.
TEST_F(PlayCommand, ExampleStyleOverAFixedChartMatchesTheReviewedMidiFiles) {
    for (const std::string name : {"intro", "fill1", "fill2", "fill3", "ending"}) {
        const fs::path out = Work() / (name + ".mid");
        const CliResult result = Run("play '" + (kExamples / (name + ".mid")).string() +
                                     "' --chords '" + kChart + "' --midi '" + out.string() + "'");
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(ReadBytes(out), ReadBytes(Golden(name + "-C-Am-F-G7.mid"))) << name;
    }
    EXPECT_TRUE(TmpIsEmpty());  // the conversion's temporary folder is gone
}

TEST_F(PlayCommand, BassAndChordsSoundEachMeasuresChord) {
    for (const std::string name : {"fill1", "fill2", "fill3"}) {
        const play::Performance performance = ExamplePerformance(name + ".mid");
        for (std::size_t m = 0; m < performance.measures.size(); ++m) {
            const music::Chord& chord = performance.measures[m].chord;
            std::set<int> tones;
            for (int interval : music::ChordIntervals(chord.quality))
                tones.insert((chord.root + interval) % 12);
            // The bass's first note of the measure is the chord's root.
            const auto bass = NoteOns(performance, 12);
            const auto first = std::find_if(bass.begin(), bass.end(), [&](const auto& note) {
                return note.tick >= performance.measures[m].startTick;
            });
            ASSERT_NE(first, bass.end());
            EXPECT_EQ(first->bytes[1] % 12, chord.root) << name << " measure " << m + 1;
            for (int channel = 13; channel <= 16; ++channel) {
                for (int pitchClass : PitchClassesIn(performance, channel, m)) {
                    EXPECT_TRUE(tones.count(pitchClass))
                        << name << " measure " << m + 1 << " channel " << channel << " plays "
                        << pitchClass << " over " << music::ChordName(chord);
                }
            }
        }
    }
}

// Offline render with the small SoundFont: as long as the measures plus the release tail, and
// every measure has sound.
TEST_F(PlayCommand, WavRenderLastsTheMeasuresAndEveryMeasureSounds) {
    const fs::path out = Work() / "fill1.wav";
    const CliResult result =
        Run("play '" + (kExamples / "fill1.mid").string() + "' --chords '" + kChart +
            "' --loops 2 --soundfont '" VANTREL_SMALL_SOUNDFONT "' --wav '" + out.string() + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    const auto sound = ReadWav(ReadBytes(out));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->channels, 2);
    EXPECT_EQ(sound->sampleRate, 44100u);
    const play::Performance performance = ExamplePerformance("fill1.mid", 2);
    ASSERT_EQ(performance.measures.size(), 8u);
    const double expected = performance.DurationSeconds() + 1.0;
    EXPECT_NEAR(sound->Seconds(), expected, 64.0 / 44100);
    for (const auto& measure : performance.measures) {
        const auto first = static_cast<std::size_t>(measure.startSeconds * 44100);
        const auto last = static_cast<std::size_t>(
            performance.SecondsAt(measure.startTick + measure.lengthTicks) * 44100);
        double sum = 0;
        for (std::size_t frame = first; frame < last; ++frame) {
            for (std::size_t c = 0; c < 2; ++c) {
                const double sample = sound->samples[frame * 2 + c] / 32768.0;
                sum += sample * sample;
            }
        }
        const double rms = std::sqrt(sum / double((last - first) * 2));
        EXPECT_GT(rms, 0.01) << "measure starting at " << measure.startSeconds << " s is silent";
    }
    EXPECT_FALSE(fs::exists(Work() / "fill1.wav.part"));
}

TEST_F(PlayCommand, APartThatDoesNotConvertSaysWhyAndPlaysNothing) {
    SmfWriter file(1, 192);
    file.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(768);
    file.AddTrack().Note(0, 1, 60, 100, 192).EndOfTrack(768);
    ASSERT_TRUE(file.Save(Work() / "melody.mid"));
    const CliResult result = Run("play melody.mid --midi out.mid");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("melody.mid:  File is not supported!"), std::string::npos);
    EXPECT_NE(result.err.find("MIDI file containing track 1-8 is not supported!"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Work() / "out.mid"));
    EXPECT_TRUE(TmpIsEmpty());
}

TEST_F(PlayCommand, ABadChartNamesTheChordAndWhereItIs) {
    const CliResult result = Run("play '" + (kExamples / "fill1.mid").string() +
                                 "' --chords 'C | Hm7 | F' --midi out.mid");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Hm7"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("measure 2"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(Work() / "out.mid"));
}

TEST_F(PlayCommand, SoundFontsThatAreMissingOrDoNotLoadAreNamed) {
    const std::string fill = "'" + (kExamples / "fill1.mid").string() + "'";
    CliResult result = Run("play " + fill + " --soundfont none.sf2 --wav out.wav");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("SoundFont none.sf2 does not exist"), std::string::npos)
        << result.err;
    WriteBytes(Work() / "broken.sf2", Hex("52 49 46 46 00 00 00 00"));
    result = Run("play " + fill + " --soundfont broken.sf2 --wav out.wav");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("SoundFont broken.sf2 does not load"), std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(Work() / "out.wav"));
    EXPECT_FALSE(fs::exists(Work() / "out.wav.part"));
}

TEST_F(PlayCommand, PlayingARepositoryEntryWritesNothingIntoTheRepository) {
    const fs::path repository = Work() / "Repository";
    fs::create_directories(repository / "Fill");
    fs::copy_file(kExamples / "fill2.mid", repository / "Fill" / "groove.mid");
    const auto before = fs::last_write_time(repository / "Fill");
    const CliResult result = Run("play fill/groove.mid --repository '" + repository.string() +
                                 "' --chords 'Dm7 | G7' --json --midi groove-out.mid");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("{\"chart\": \"Dm7 | G7\"}"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"outcome\": \"written\""), std::string::npos);
    std::size_t entries = 0;
    for (const auto& entry : fs::recursive_directory_iterator(repository)) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2u);  // Fill and the entry: no Intro or Ending folder was made
    EXPECT_EQ(fs::last_write_time(repository / "Fill"), before);
    EXPECT_TRUE(fs::exists(Work() / "groove-out.mid"));
}

TEST_F(PlayCommand, OutputsExcludeEachOther) {
    const CliResult result = Run("play x.mid --wav a.wav --midi b.mid");
    EXPECT_EQ(result.status, 2);
}

}  // namespace
}  // namespace vantrel::test
