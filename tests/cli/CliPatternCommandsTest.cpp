#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "../pattern/PatternFixtures.h"
#include "CliRun.h"
#include "DamagedTrackFiles.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::Hex;
using test::PatternFile;
using ::testing::HasSubstr;
using ::testing::Not;

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class CliPattern : public ::testing::Test {
  protected:
    void Write(const std::string& name, const SmfWriter& writer) {
        test::WriteBytes(work_.Path() / name, writer.Encode());
    }
    test::CliResult Run(const std::string& arguments) {
        return test::RunCli(arguments, work_.Path(), tmp_.Path());
    }
    ScopedTempDir work_;
    ScopedTempDir tmp_;
};

TEST_F(CliPattern, CheckReportsEveryFixedTextAndExitStatus) {
    Write("good.mid", test::BassExample());
    Write("slow.mid", PatternFile(384, 96));
    SmfWriter noSignature(1, 192);
    noSignature.AddTrack().Tempo(0, 500000).EndOfTrack(0);
    Write("nosig.mid", noSignature);
    SmfWriter noTempo(1, 192);
    noTempo.AddTrack().TimeSignature(0, 4, 2).EndOfTrack(0);
    Write("notempo.mid", noTempo);
    SmfWriter mixed = PatternFile();
    mixed.AddTrack().Note(0, 10, 36, 90, 10).Note(0, 11, 36, 90, 10).EndOfTrack(10);
    Write("mixed.mid", mixed);
    SmfWriter low = PatternFile();
    low.AddTrack().Note(0, 2, 60, 90, 10).EndOfTrack(10);
    Write("low.mid", low);
    SmfWriter hanging = PatternFile();
    hanging.AddTrack().Raw(0, Hex("9C 40 50")).EndOfTrack(10);
    Write("hanging.mid", hanging);

    const std::vector<std::pair<std::string, std::string>> cases{
        {"slow.mid", "Error: PPQN is not 192"},
        {"nosig.mid", "Time signature is required!"},
        {"notempo.mid", "Tempo is required!"},
        {"mixed.mid", "Mixed tracks are not allowed!"},
        {"low.mid", "MIDI file containing track 1-8 is not supported!"},
        {"hanging.mid", "Note Off Error!"}};
    for (const auto& [file, text] : cases) {
        const auto result = Run("check " + file);
        EXPECT_EQ(result.status, 1) << file;
        EXPECT_THAT(result.out, HasSubstr(file + ": not supported")) << file;
        EXPECT_THAT(result.err, HasSubstr(text)) << file;
    }
    EXPECT_THAT(Run("check slow.mid").out, HasSubstr("  Warning: PPQN is not 192"));
    const auto good = Run("check good.mid");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "good.mid: passed\n");
    EXPECT_EQ(Run("check good.mid low.mid").status, 1);
    EXPECT_EQ(Run("check").status, 2);
    EXPECT_EQ(Run("check --bogus good.mid").status, 2);
    EXPECT_THAT(Run("check --help").out, HasSubstr("MiB are refused"));
}

TEST_F(CliPattern, CheckJsonCarriesErrorsAndMessages) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names cannot hold the quotes this test escapes";
#endif
    SmfWriter mixed = PatternFile();
    mixed.AddTrack().Note(0, 12, 36, 90, 10).Note(0, 13, 36, 90, 10).EndOfTrack(10);
    Write("mixed \"quoted\".mid", mixed);
    const auto result = Run("check --json 'mixed \"quoted\".mid'");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.out, HasSubstr(R"("file": "mixed \"quoted\".mid", "passed": false)"));
    EXPECT_THAT(result.out, HasSubstr(R"(Track 1 Error"])"));
    EXPECT_THAT(result.out, HasSubstr(R"("messages": ["Mixed tracks are not allowed!"])"));
    EXPECT_TRUE(result.err.empty());
}

TEST_F(CliPattern, CheckLeavesNothingOnDisk) {
    Write("Song.mid", test::BassExample());
    SmfWriter hanging = PatternFile();
    hanging.AddTrack().Raw(0, Hex("9C 40 50")).EndOfTrack(10);
    Write("Bad.mid", hanging);
    const auto before = Listing(work_.Path());
    Run("check Song.mid Bad.mid");
    EXPECT_EQ(Listing(work_.Path()), before);
    EXPECT_TRUE(Listing(tmp_.Path()).empty());
}

TEST_F(CliPattern, ConvertRefusesToReplaceWithoutForce) {
    Write("Song.mid", test::BassExample());
    test::WriteBytes(work_.Path() / "Song.sty", Hex("01 02"));
    const auto refused = Run("convert Song.mid");
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.out, HasSubstr("--force"));
    EXPECT_EQ(test::ReadBytes(work_.Path() / "Song.sty"), Hex("01 02"));
    EXPECT_FALSE(fs::exists(work_.Path() / "Song.dat"));

    const auto forced = Run("convert --force Song.mid");
    EXPECT_EQ(forced.status, 0) << forced.out;
    EXPECT_EQ(test::ReadBytes(work_.Path() / "Song.sty").size(), 38u);
    EXPECT_EQ(test::ReadBytes(work_.Path() / "Song.dat").size(), 82u);
    EXPECT_EQ(Listing(work_.Path()), (std::set<std::string>{"Song.mid", "Song.dat", "Song.sty"}));
}

TEST_F(CliPattern, ConvertIntoAFolderAndInspectTheProducts) {
    Write("Song.mid", test::BassExample());
    const auto converted = Run("convert -o out Song.mid");
    ASSERT_EQ(converted.status, 0) << converted.out;
    EXPECT_EQ(Listing(work_.Path() / "out"), (std::set<std::string>{"Song.dat", "Song.sty"}));
    EXPECT_EQ(Listing(work_.Path()), (std::set<std::string>{"Song.mid", "out"}));

    const auto list = Run("inspect out/Song.dat");
    EXPECT_EQ(list.status, 0);
    EXPECT_THAT(list.out, HasSubstr("time signature: 4/4 (0x24)"));
    EXPECT_THAT(list.out, HasSubstr("pattern data size: 38"));
    const auto data = Run("inspect out/Song.sty");
    EXPECT_EQ(data.status, 0);
    EXPECT_THAT(data.out, HasSubstr("channel 12 BASS at offset 16, 5 events"));
    EXPECT_THAT(data.out, HasSubstr("9B 24 64 length 192"));

    test::WriteBytes(work_.Path() / "broken.sty", Hex("FF FF 10 00"));
    EXPECT_EQ(Run("inspect broken.sty").status, 1);
    EXPECT_EQ(Run("inspect Song.mid").status, 1);
}

TEST_F(CliPattern, InspectShowsEachBlockOfAStyleImage) {
    Write("Song.mid", test::BassExample());
    ASSERT_EQ(Run("convert Song.mid").status, 0);
    auto list = test::ReadBytes(work_.Path() / "Song.dat");
    const auto data = test::ReadBytes(work_.Path() / "Song.sty");
    std::vector<std::uint8_t> image(20474, 0);
    for (std::size_t block : {0u, 1u, 2u}) {
        std::copy(list.begin(), list.end(), image.begin() + block * 2048);
        std::copy(data.begin(), data.end(), image.begin() + block * 2048 + 82);
    }
    test::WriteBytes(work_.Path() / "Total.mix", image);
    const auto result = Run("inspect Total.mix");
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_THAT(result.out, HasSubstr("style image: 20474 bytes, well formed"));
    EXPECT_THAT(result.out, HasSubstr("block 2 Fill 1 at offset 4096: 120 of 2048 bytes used"));
    EXPECT_THAT(result.out, HasSubstr("block 9 Fill 8 at offset 18432: empty"));
    image[2048 + 81] = 0x10;
    test::WriteBytes(work_.Path() / "Total.mix", image);
    const auto bad = Run("inspect Total.mix");
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.out, HasSubstr("not well formed: Ending"));
}

TEST_F(CliPattern, InfoShowsTheFileAndItsTempoTexts) {
    SmfWriter writer = test::BassExample();
    Write("Song.mid", writer);
    const auto result = Run("info Song.mid");
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out, HasSubstr("division: 192"));
    EXPECT_THAT(result.out, HasSubstr("tracks: 2"));
    EXPECT_THAT(result.out, HasSubstr("BPM: 120"));
    EXPECT_THAT(result.out, HasSubstr("time signature: 4/4"));
    test::WriteBytes(work_.Path() / "junk.mid", Hex("00 01 02"));
    const auto junk = Run("info junk.mid");
    EXPECT_EQ(junk.status, 1);
    EXPECT_THAT(junk.out, Not(HasSubstr("division")));
}

TEST_F(CliPattern, ADamagedNotesTrackIsRefusedByEveryCommandWithItsNumber) {
    test::WriteBytes(work_.Path() / "delta.mid", test::FiveByteDeltaSong());
    test::WriteBytes(work_.Path() / "status.mid", test::NoStatusSong());
    for (const std::string file : {"delta.mid", "status.mid"}) {
        const auto check = Run("check " + file);
        EXPECT_EQ(check.status, 1) << file;
        EXPECT_THAT(check.out + check.err, HasSubstr("Process Error")) << file;
        const auto info = Run("info " + file);
        EXPECT_EQ(info.status, 1) << file;
        EXPECT_THAT(info.out, HasSubstr("track 1 is damaged")) << file;
        const auto fit = Run("fit " + file);
        EXPECT_EQ(fit.status, 1) << file;
        EXPECT_THAT(fit.out, HasSubstr("track 1 is damaged")) << file;
        EXPECT_FALSE(fs::exists(work_.Path() / (fs::path(file).stem().string() + ".fit.mid")));
    }
}

}  // namespace
}  // namespace vantrel
