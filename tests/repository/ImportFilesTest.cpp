#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "common/Utf8Path.h"
#include "midi/SmfWriter.h"
#include "repository/ImportFiles.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ValidPattern(std::uint8_t key) {
    SmfWriter writer(1, 192);
    writer.AddTrack().TimeSignature(0, 4, 2).Tempo(0, 500000).EndOfTrack(768);
    writer.AddTrack().Note(0, 12, key, 100, 180).EndOfTrack(768);
    return writer.Encode();
}

// Notes on channel 1 are not a pattern the keyboard takes.
std::vector<std::uint8_t> InvalidPattern() {
    SmfWriter writer(1, 192);
    writer.AddTrack().TimeSignature(0, 4, 2).Tempo(0, 500000).EndOfTrack(768);
    writer.AddTrack().Note(0, 1, 60, 100, 180).EndOfTrack(768);
    return writer.Encode();
}

std::vector<std::string> FolderContent(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ImportFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(source_);
        fs::create_directories(target_);
    }
    ImportOutcome Import(const std::vector<std::string>& names) {
        return ImportFiles(names, source_, target_, true, prompt_);
    }

    ScopedTempDir temp_;
    fs::path source_ = temp_.Path() / "songs";
    fs::path target_ = temp_.Path() / "Repository" / "Fill";
    test::ScriptedPrompt prompt_;
};

TEST_F(ImportFilesTest, AFailingFileIsReportedAndNotCopiedAndNothingIsLeftBesideIt) {
    test::WriteBytes(source_ / "bad.mid", InvalidPattern());
    test::WriteBytes(source_ / "good.mid", ValidPattern(36));
    test::WriteBytes(source_ / "good.sty", {1, 2, 3});  // a user's own file stays untouched
    fs::create_directory(source_ / "folder.mid");
    const ImportOutcome outcome = Import({"folder.mid", "bad.mid", "good.mid", "gone.mid"});
    EXPECT_EQ(outcome.copied, std::vector<std::string>{"good.mid"});
    EXPECT_EQ(outcome.notSupported, std::vector<std::string>{"bad.mid"});
    EXPECT_EQ(prompt_.messages.back(), "bad.mid:  File is not supported!");
    EXPECT_EQ(FolderContent(target_), std::vector<std::string>{"good.mid"});
    EXPECT_EQ(FolderContent(source_),
              (std::vector<std::string>{"bad.mid", "folder.mid", "good.mid", "good.sty"}));
    EXPECT_EQ(test::ReadBytes(source_ / "good.sty"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(ImportFilesTest, EachRefusalNamesItsFileAndGivesItsReason) {
    SmfWriter noTempo(1, 192);
    noTempo.AddTrack().TimeSignature(0, 4, 2).EndOfTrack(768);
    noTempo.AddTrack().Note(0, 12, 36, 100, 180).EndOfTrack(768);
    test::WriteBytes(source_ / "slow.mid", noTempo.Encode());
    auto truncated = ValidPattern(36);
    truncated.resize(truncated.size() - 5);
    test::WriteBytes(source_ / "cut.mid", truncated);

    Import({"slow.mid", "cut.mid"});
    // The converter's own box keeps its text and says which file it is about; the refusal
    // after it repeats what was wrong.
    EXPECT_EQ(prompt_.shown,
              (std::vector<std::string>{"Tempo is required!", "slow.mid:  File is not supported!",
                                        "cut.mid:  File is not supported!"}));
    EXPECT_EQ(prompt_.details[0], "slow.mid");
    EXPECT_EQ(prompt_.details[1], "Tempo is required!");
    EXPECT_EQ(prompt_.details[2], "cut.mid is not a complete MIDI file: 1 of 2 tracks are present");
    EXPECT_TRUE(FolderContent(target_).empty());
}

// Folders and files whose names are not ASCII (UTF-8 texts in the program, wide names on
// Windows) are found, checked and copied like any other.
TEST(ImportFilesUnicode, ARepositoryAndFilesWithNamesBeyondAsciiWork) {
    ScopedTempDir temp;
    ASSERT_TRUE(temp.Valid());
    const fs::path source = temp.Path() / PathFromUtf8("Mélodies ΑΒΓ");
    const fs::path target = temp.Path() / PathFromUtf8("Répertoire ü") / "Repository" / "Intro";
    fs::create_directories(target);
    const std::string name = "intro-été.mid";
    test::WriteBytes(source / PathFromUtf8(name), ValidPattern(36));
    test::ScriptedPrompt prompt;
    const ImportOutcome first = ImportFiles({name}, source, target, true, prompt);
    EXPECT_EQ(first.copied, std::vector<std::string>{name});
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(test::ReadBytes(target / PathFromUtf8(name)), ValidPattern(36));
    EXPECT_EQ(FolderContent(target), std::vector<std::string>{name});

    prompt.answers = {PromptAnswer::No};
    const ImportOutcome again = ImportFiles({name}, source, target, true, prompt);
    EXPECT_TRUE(again.copied.empty());
    EXPECT_EQ(prompt.questions, std::vector<std::string>{"Overwrite " + name + "?"});
}

TEST_F(ImportFilesTest, NoSkipsOneFileAndCancelStopsTheRest) {
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
        test::WriteBytes(source_ / name, ValidPattern(40));
        test::WriteBytes(target_ / name, ValidPattern(36));
    }
    prompt_.answers = {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Yes};
    const ImportOutcome skipped = Import({"a.mid", "b.mid", "c.mid"});
    EXPECT_EQ(skipped.copied, (std::vector<std::string>{"a.mid", "c.mid"}));
    EXPECT_EQ(prompt_.questions, (std::vector<std::string>{"Overwrite a.mid?", "Overwrite b.mid?",
                                                           "Overwrite c.mid?"}));
    EXPECT_EQ(test::ReadBytes(target_ / "b.mid"), ValidPattern(36));
    EXPECT_EQ(test::ReadBytes(target_ / "c.mid"), ValidPattern(40));

    test::WriteBytes(target_ / "a.mid", ValidPattern(36));
    test::WriteBytes(target_ / "c.mid", ValidPattern(36));
    prompt_.questions.clear();
    prompt_.answers = {PromptAnswer::Yes, PromptAnswer::Cancel};
    const ImportOutcome cancelled = Import({"a.mid", "b.mid", "c.mid"});
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(prompt_.questions.size(), 2u);
    EXPECT_EQ(test::ReadBytes(target_ / "c.mid"), ValidPattern(36));
    EXPECT_EQ(FolderContent(target_), (std::vector<std::string>{"a.mid", "b.mid", "c.mid"}));
}

TEST_F(ImportFilesTest, WithoutValidationAnyFileIsCopied) {
    test::WriteBytes(source_ / "bad.mid", InvalidPattern());
    const ImportOutcome outcome = ImportFiles({"bad.mid"}, source_, target_, false, prompt_);
    EXPECT_EQ(outcome.copied, std::vector<std::string>{"bad.mid"});
    EXPECT_TRUE(prompt_.shown.empty());
}

}  // namespace
}  // namespace vantrel
