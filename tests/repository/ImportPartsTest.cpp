#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "midi/SmfWriter.h"
#include "repository/CRepository.h"
#include "repository/ImportParts.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Pattern(std::uint8_t key) {
    SmfWriter writer(1, 192);
    writer.AddTrack().TimeSignature(0, 4, 2).Tempo(0, 500000).EndOfTrack(768);
    writer.AddTrack().Note(0, 12, key, 100, 180).EndOfTrack(768);
    return writer.Encode();
}

class ImportPartsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CRepository::SetRoot(temp_.Path() / "Repository");
        CRepository::CreateFolders();
    }

    static fs::path Entry(SubRepository sub, const std::string& name) {
        return CRepository::Folder(sub) / name;
    }

    ScopedTempDir temp_;
    test::ScriptedPrompt prompt_;
};

TEST_F(ImportPartsTest, EveryPartLandsInTheFolderOfItsKind) {
    EXPECT_EQ(PartFolder(SongPartKind::Intro), SubRepository::Intro);
    EXPECT_EQ(PartFolder(SongPartKind::Fill), SubRepository::Fill);
    EXPECT_EQ(PartFolder(SongPartKind::Ending), SubRepository::Ending);
    const std::vector<PartFile> parts{{"song-intro.mid", SubRepository::Intro, Pattern(36)},
                                      {"song-fill1.mid", SubRepository::Fill, Pattern(38)},
                                      {"song-ending.mid", SubRepository::Ending, Pattern(40)}};
    EXPECT_EQ(ImportPartsAllOrNone(parts, false, prompt_), "");
    for (const PartFile& part : parts)
        EXPECT_EQ(test::ReadBytes(Entry(part.sub, part.name)), part.bytes) << part.name;
    EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ImportPartsTest, APartThatFailsTakesTheOthersBackOutAndRestoresWhatTheyReplaced) {
    test::WriteBytes(Entry(SubRepository::Intro, "song-intro.mid"), Pattern(50));
    const std::vector<PartFile> parts{
        {"song-intro.mid", SubRepository::Intro, Pattern(36)},
        {"song-fill1.mid", SubRepository::Fill, Pattern(38)},
        {"song-ending.mid", SubRepository::Ending, {'M', 'T', 'h', 'd'}}};

    const std::string refusedWithoutReplace = ImportPartsAllOrNone(parts, false, prompt_);
    EXPECT_EQ(refusedWithoutReplace,
              "song-intro.mid is already in the repository's Intro folder: nothing imported");

    const std::string problem = ImportPartsAllOrNone(parts, true, prompt_);
    EXPECT_EQ(problem, "song-ending.mid could not be imported into Ending: nothing imported");
    EXPECT_EQ(test::ReadBytes(Entry(SubRepository::Intro, "song-intro.mid")), Pattern(50));
    EXPECT_FALSE(fs::exists(Entry(SubRepository::Fill, "song-fill1.mid")));
    EXPECT_FALSE(fs::exists(Entry(SubRepository::Ending, "song-ending.mid")));
}

}  // namespace
}  // namespace vantrel
