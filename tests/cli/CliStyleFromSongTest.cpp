// vantrel-cli style-from-song and fit's chord options, run as a user would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChordSongs.h"
#include "CliRun.h"
#include "TestFiles.h"
#include "midi/SmfWriter.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Twelve measures over G G D D Em C G G D D Em C, bass on channel 2, chords on 1, drums on 10.
SmfWriter TwelveMeasureSong() {
    const std::vector<std::pair<int, int>> chords{{7, 4}, {7, 4}, {2, 4}, {2, 4}, {4, 3}, {0, 4}};
    std::vector<std::pair<int, int>> twice = chords;
    twice.insert(twice.end(), chords.begin(), chords.end());
    return test::ChordSong(twice);
}

class CliStyleFromSong : public ::testing::Test {
  protected:
    void SetUp() override { TwelveMeasureSong().Save(work_.Path() / "song.mid"); }
    test::CliResult Run(const std::string& arguments) {
        return test::RunCli(arguments, work_.Path(), tmp_.Path());
    }
    ScopedTempDir work_;
    ScopedTempDir tmp_;
};

TEST_F(CliStyleFromSong, WritesEachPartAndReplacesNothingWithoutForce) {
    const auto song = test::ReadText(work_.Path() / "song.mid");
    const auto made =
        Run("style-from-song song.mid --intro 1-2 --fill 5-5 --fill 3-4 --ending 11-12 -o parts");
    ASSERT_EQ(made.status, 0) << made.out << made.err;
    EXPECT_THAT(made.out, HasSubstr("12 measures, a clear chord in 12"));
    EXPECT_THAT(made.out, HasSubstr("fill1.mid   Fill 1  measures 5-5  Em"));
    EXPECT_THAT(made.out, HasSubstr("source-chord: moved"));
    EXPECT_THAT(made.out, HasSubstr("style image: "));
    for (const char* name : {"intro.mid", "fill1.mid", "fill2.mid", "ending.mid"})
        EXPECT_TRUE(fs::exists(work_.Path() / "parts" / name)) << name;
    // Each part passes the pattern check as the keyboard takes it.
    const auto check =
        Run("check parts/intro.mid parts/fill1.mid parts/fill2.mid parts/ending.mid");
    EXPECT_EQ(check.status, 0) << check.out;

    const auto again = Run("style-from-song song.mid --intro 1-2 -o parts");
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, HasSubstr("use --force to replace it: nothing written"));
    EXPECT_EQ(Run("style-from-song song.mid --intro 1-2 -o parts --force").status, 0);
    EXPECT_EQ(test::ReadText(work_.Path() / "song.mid"), song);
}

TEST_F(CliStyleFromSong, ProposesPartsWithReasonsWhenNoneAreGiven) {
    const auto proposed = Run("style-from-song song.mid --dry-run");
    ASSERT_EQ(proposed.status, 0) << proposed.out << proposed.err;
    EXPECT_THAT(proposed.out, HasSubstr("Intro   measures 1-3: the song's first 3 measures"));
    EXPECT_THAT(proposed.out, HasSubstr("Ending  measures 10-12: the song's last 3 measures"));
    EXPECT_THAT(proposed.out, HasSubstr("a stretch the song plays"));
    EXPECT_THAT(proposed.out, HasSubstr("dry run: nothing written"));
    EXPECT_FALSE(fs::exists(work_.Path() / "song-style"));
}

TEST_F(CliStyleFromSong, ImportsAllPartsUnderTheSongsNameOrNone) {
    const std::string repository = "--repository repo";
    fs::create_directories(work_.Path() / "repo" / "Fill");
    const auto imported = Run(
        "style-from-song song.mid --intro 1-2 --fill 5-5 --ending 11-12 --import " + repository);
    ASSERT_EQ(imported.status, 0) << imported.out << imported.err;
    EXPECT_TRUE(fs::exists(work_.Path() / "repo" / "Intro" / "song-intro.mid"));
    EXPECT_TRUE(fs::exists(work_.Path() / "repo" / "Fill" / "song-fill1.mid"));
    EXPECT_TRUE(fs::exists(work_.Path() / "repo" / "Ending" / "song-ending.mid"));

    // A second song of the same name with one more Fill: song-fill1.mid is there already, so
    // nothing of it is imported.
    const auto refused =
        Run("style-from-song song.mid --intro 1-2 --fill 3-4 --fill 5-5 "
            "--ending 11-12 --import --force -o other " +
            repository);
    EXPECT_EQ(refused.status, 0) << refused.err;
    const auto kept =
        Run("style-from-song song.mid --fill 6-6 --fill 3-4 -o third --import " + repository);
    EXPECT_EQ(kept.status, 1);
    EXPECT_THAT(kept.err, HasSubstr("song-fill1.mid is already in the repository's Fill folder"));
}

TEST_F(CliStyleFromSong, FitReportsChordsInJsonAndRefusesABadChart) {
    const auto json = Run("fit --measures 3-4 --source-chord --json --dry-run song.mid");
    ASSERT_EQ(json.status, 0) << json.out << json.err;
    EXPECT_THAT(json.out, HasSubstr("{\"kind\": \"chord\", \"detail\": \"measure 3: D ("));
    EXPECT_THAT(json.out, HasSubstr("\"kind\": \"source-chord\""));
    const auto bad = Run("fit --chords \"G | Hx7\" --source-chord song.mid");
    EXPECT_EQ(bad.status, 2);
    EXPECT_THAT(bad.err, HasSubstr("--chords: measure 2"));
    const auto both = Run("fit --source-chord --key auto song.mid");
    EXPECT_EQ(both.status, 2);
}

}  // namespace
}  // namespace vantrel
