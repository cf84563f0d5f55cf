#include <gtest/gtest.h>

#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "repository/ImportPaths.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(ImportPathsTest, PathsOfSeveralFoldersAskByBareNameAndCancelStopsTheRest) {
    ScopedTempDir temp;
    const fs::path a = temp.Path() / "a";
    const fs::path b = temp.Path() / "b";
    const fs::path target = temp.Path() / "target";
    test::WriteBytes(a / "one.mid", {1});
    test::WriteBytes(b / "two.mid", {2});
    test::WriteBytes(a / "three.mid", {3});
    test::WriteBytes(target / "two.mid", {9});
    test::ScriptedPrompt prompt;
    prompt.answers = {PromptAnswer::Cancel};

    const ImportOutcome outcome =
        ImportPaths({a / "one.mid", b / "two.mid", a / "three.mid"}, target, false, prompt);

    EXPECT_EQ(prompt.questions, std::vector<std::string>{"Overwrite two.mid?"});
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.copied, std::vector<std::string>{"one.mid"});
    EXPECT_EQ(test::ReadBytes(target / "two.mid"), std::vector<std::uint8_t>{9});
    EXPECT_FALSE(fs::exists(target / "three.mid"));
}

TEST(ImportPathsTest, AFileThatFailsTheCheckIsNamedBareAndTheNextFolderStillImports) {
    ScopedTempDir temp;
    const fs::path target = temp.Path() / "target";
    fs::create_directories(target);
    test::WriteBytes(temp.Path() / "a" / "bad.mid", test::Hex("4D 54 68 64"));
    test::WriteBytes(temp.Path() / "b" / "plain.mid", {7});
    test::ScriptedPrompt prompt;

    const ImportOutcome outcome =
        ImportPaths({temp.Path() / "a" / "bad.mid"}, target, true, prompt);
    const ImportOutcome second =
        ImportPaths({temp.Path() / "b" / "plain.mid"}, target, false, prompt);

    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.back(), "bad.mid:  File is not supported!");
    EXPECT_EQ(outcome.notSupported, std::vector<std::string>{"bad.mid"});
    EXPECT_EQ(second.copied, std::vector<std::string>{"plain.mid"});
}

}  // namespace
}  // namespace vantrel
