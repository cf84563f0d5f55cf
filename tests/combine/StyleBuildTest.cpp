#include <gtest/gtest.h>

#include <algorithm>

#include "CombineFixtures.h"
#include "ScriptedPrompt.h"
#include "combine/StyleBuild.h"
#include "pattern/StyleImage.h"

namespace vantrel {
namespace {

const std::string kTooLarge = "File size is greater than 2K!";

class StyleBuildTest : public ::testing::Test {
  protected:
    std::optional<std::vector<std::uint8_t>> Build(const std::vector<std::string>& names) {
        return BuildStyleImage("/repo", names, prompt_, converter_.Function());
    }

    // The block's first byte count bytes hold fill and the rest is zero.
    static void ExpectBlock(const std::vector<std::uint8_t>& image, std::size_t block,
                            std::size_t count, std::uint8_t fill) {
        const auto bytes = StyleBlockBytes(image, block);
        const auto filled = std::count(bytes.begin(), bytes.end(), fill);
        EXPECT_EQ(static_cast<std::size_t>(filled), fill == 0 ? bytes.size() : count)
            << "block " << block;
        if (fill != 0) {
            EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(count), bytes.end(),
                                    [](std::uint8_t b) { return b == 0; }))
                << "block " << block;
        }
    }

    test::FakeConverter converter_;
    test::ScriptedPrompt prompt_;
};

TEST_F(StyleBuildTest, OneFillLeavesTheOtherFillBlocksZero) {
    converter_.Add("i.mid", 300, 1);
    converter_.Add("f.mid", 200, 2);
    converter_.Add("e.mid", 400, 3);
    const auto image = Build({"i.mid", "f.mid", "e.mid"});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), kStyleWrittenSize);
    ExpectBlock(*image, 0, 300, 1);
    ExpectBlock(*image, 1, 400, 3);
    ExpectBlock(*image, 2, 200, 2);
    for (std::size_t block = 3; block < kStyleBlockCount; ++block)
        ExpectBlock(*image, block, 0, 0);
    EXPECT_EQ(converter_.converted,
              (std::vector<std::filesystem::path>{"/repo/Intro/i.mid", "/repo/Ending/e.mid",
                                                  "/repo/Fill/f.mid"}));
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(StyleBuildTest, EightFillsUseEveryBlockInListOrder) {
    std::vector<std::string> names = {"i.mid"};
    converter_.Add("i.mid", 2048, 20);
    for (std::uint8_t i = 1; i <= 8; ++i) {
        const std::string name = "f" + std::to_string(i) + ".mid";
        converter_.Add(name, i == 8 ? 2042 : 2048, i);
        names.push_back(name);
    }
    names.push_back("e.mid");
    converter_.Add("e.mid", 2048, 30);
    const auto image = Build(names);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), kStyleWrittenSize);
    ExpectBlock(*image, 0, 2048, 20);
    ExpectBlock(*image, 1, 2048, 30);
    for (std::uint8_t i = 1; i <= 8; ++i)
        ExpectBlock(*image, 1 + i, i == 8 ? 2042 : 2048, i);
}

TEST_F(StyleBuildTest, PartsUpTo2048BytesFitAndLargerOnesStopTheBuild) {
    converter_.Add("i.mid", 2048, 1);
    converter_.Add("f.mid", 2048, 2);
    converter_.Add("e.mid", 2048, 3);
    EXPECT_TRUE(Build({"i.mid", "f.mid", "e.mid"}));
    converter_.Add("big.mid", 2049, 4);
    EXPECT_FALSE(Build({"i.mid", "f.mid", "big.mid", "e.mid"}));
    EXPECT_FALSE(Build({"big.mid", "f.mid", "e.mid"}));
    EXPECT_EQ(prompt_.messages,
              (std::vector<std::string>{"big.mid" + kTooLarge, "big.mid" + kTooLarge}));
}

TEST_F(StyleBuildTest, TheEighthFillMustFitTheBytesThatAreSent) {
    std::vector<std::string> names = {"i.mid"};
    converter_.Add("i.mid", 100, 1);
    converter_.Add("e.mid", 100, 1);
    for (int i = 1; i <= 7; ++i) {
        names.push_back("f" + std::to_string(i) + ".mid");
        converter_.Add(names.back(), 2048, 2);
    }
    names.push_back("last.mid");
    names.push_back("e.mid");
    converter_.Add("last.mid", 2044, 3);
    EXPECT_FALSE(Build(names));
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{"last.mid" + kTooLarge});
    converter_.Add("last.mid", 2042, 3);
    const auto image = Build(names);
    ASSERT_TRUE(image);
    ExpectBlock(*image, 9, 2042, 3);
}

TEST_F(StyleBuildTest, AFillThatFailsLeavesAZeroBlockAndTheOthersKeepTheirPlaces) {
    converter_.Add("i.mid", 100, 1);
    converter_.Add("f1.mid", 100, 2);
    converter_.Add("f3.mid", 100, 4);
    converter_.Add("e.mid", 100, 5);
    const auto image = Build({"i.mid", "f1.mid", "bad.mid", "f3.mid", "e.mid"});
    ASSERT_TRUE(image);
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{"File is not supported!"});
    ExpectBlock(*image, 2, 100, 2);
    ExpectBlock(*image, 3, 0, 0);
    ExpectBlock(*image, 4, 100, 4);
}

TEST_F(StyleBuildTest, AnIntroOrEndingThatFailsStopsTheBuild) {
    converter_.Add("f.mid", 100, 2);
    converter_.Add("ok.mid", 100, 1);
    EXPECT_FALSE(Build({"bad.mid", "f.mid", "ok.mid"}));
    EXPECT_FALSE(Build({"ok.mid", "f.mid", "bad.mid"}));
    EXPECT_EQ(prompt_.messages,
              (std::vector<std::string>{"File is not supported!", "File is not supported!"}));
    // The first build stopped at the Intro: nothing after it was converted.
    EXPECT_EQ(converter_.converted.front(), std::filesystem::path("/repo/Intro/bad.mid"));
    EXPECT_EQ(converter_.converted.size(), 3u);
}

TEST(StyleBuildExamples, TheExampleStyleBuildsAWellFormedImage) {
    test::ScriptedPrompt prompt;
    const auto folder = test::ExamplesFolder();
    // The examples lie in one folder; a root whose three sub-folders are that folder stands in
    // for a repository holding them.
    const PartConverter fromExamples = [&](const std::filesystem::path& path, UserPrompt& p) {
        return ConvertToProducts(folder / path.filename(), p);
    };
    const auto image = BuildStyleImage("/unused", test::ExampleParts(), prompt, fromExamples);
    ASSERT_TRUE(image);
    EXPECT_TRUE(prompt.shown.empty());
    const StyleImageVerdict verdict = ValidateStyleImage(*image);
    EXPECT_TRUE(verdict) << verdict.reason;
    for (std::size_t block = 5; block < kStyleBlockCount; ++block) {
        const auto bytes = StyleBlockBytes(*image, block);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

}  // namespace
}  // namespace vantrel
