#include <gtest/gtest.h>

#include "CombineFixtures.h"
#include "ScriptedPrompt.h"
#include "combine/CombineLists.h"
#include "combine/PartTexts.h"
#include "combine/UploadWorkflow.h"
#include "common/ScopedTempDir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

const std::string kInconsistent = "The beat or tempo is inconsistent\xEF\xBC\x81";

PartTexts Texts(const char* timeSignature, const char* tempo) {
    PartTexts texts{"", std::nullopt, std::nullopt};
    if (timeSignature)
        texts.timeSignature = timeSignature;
    if (tempo)
        texts.tempo = tempo;
    return texts;
}

TEST(PartTexts, TheFirstTempoAndTimeSignatureOfAFileGiveItsTexts) {
    ScopedTempDir temp;
    test::WriteBytes(temp.Path() / "a.mid", test::BarPattern(400000, 6, 3).Encode());
    const PartTexts texts = ReadPartTexts(temp.Path() / "a.mid");
    EXPECT_EQ(texts.fileName, "a.mid");
    EXPECT_EQ(texts.tempo, "BPM: 150");
    EXPECT_EQ(texts.timeSignature, "6/8");

    test::WriteBytes(temp.Path() / "junk.mid", {'n', 'o', 'p', 'e'});
    const PartTexts junk = ReadPartTexts(temp.Path() / "junk.mid");
    EXPECT_EQ(junk.fileName, "junk.mid");
    EXPECT_FALSE(junk.tempo);
    EXPECT_FALSE(junk.timeSignature);
}

TEST(FindInconsistentPart, PairsAreExaminedByFirstFileThenBySecond) {
    EXPECT_FALSE(FindInconsistentPart(
        {Texts("4/4", "BPM: 120"), Texts("4/4", "BPM: 120"), Texts("4/4", "BPM: 120")}));
    EXPECT_EQ(FindInconsistentPart(
                  {Texts("4/4", "BPM: 120"), Texts("4/4", "BPM: 120"), Texts("3/4", "BPM: 120")}),
              2u);
    // (1, 2) differs in tempo, but (0, 3) is examined first and differs in time signature.
    EXPECT_EQ(FindInconsistentPart({Texts("4/4", nullptr), Texts("4/4", "BPM: 120"),
                                    Texts("4/4", "BPM: 100"), Texts("3/4", nullptr)}),
              3u);
    // A file without texts takes part in no comparison.
    EXPECT_FALSE(FindInconsistentPart(
        {Texts(nullptr, nullptr), Texts("3/4", nullptr), Texts(nullptr, "BPM: 90")}));
}

class CheckCombinedPartsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Write(SubRepository::Intro, "i.mid", test::BarPattern());
        Write(SubRepository::Fill, "f1.mid", test::BarPattern());
        Write(SubRepository::Fill, "f2.mid", test::BarPattern());
        Write(SubRepository::Ending, "e.mid", test::BarPattern());
        lists_.OnCombine(SubRepository::Intro, {"i.mid"}, prompt_);
        lists_.OnCombine(SubRepository::Ending, {"e.mid"}, prompt_);
    }
    void Write(SubRepository sub, const std::string& name, const SmfWriter& midi) {
        test::WriteBytes(SubRepositoryFolder(temp_.Path(), sub) / name, midi.Encode());
    }

    ScopedTempDir temp_;
    CombineLists lists_{temp_.Path()};
    test::ScriptedPrompt prompt_;
};

TEST_F(CheckCombinedPartsTest, AgreeingFilesGiveTheirNamesIntroFillsEnding) {
    lists_.OnCombine(SubRepository::Fill, {"f2.mid", "f1.mid"}, prompt_);
    EXPECT_EQ(CheckCombinedParts(lists_, prompt_),
              (std::vector<std::string>{"i.mid", "f2.mid", "f1.mid", "e.mid"}));
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(CheckCombinedPartsTest, AnEmptyListIsRefusedFirst) {
    EXPECT_FALSE(CheckCombinedParts(lists_, prompt_));
    EXPECT_EQ(prompt_.messages,
              std::vector<std::string>{"Intro,Fill, Ending list can not be empty\xEF\xBC\x81"});
}

TEST_F(CheckCombinedPartsTest, AFillInAnotherMeterIsNamed) {
    Write(SubRepository::Fill, "waltz.mid", test::BarPattern(500000, 3, 2));
    Write(SubRepository::Fill, "slow.mid", test::BarPattern(600000));
    lists_.OnCombine(SubRepository::Fill, {"f1.mid", "waltz.mid", "slow.mid"}, prompt_);
    EXPECT_FALSE(CheckCombinedParts(lists_, prompt_));
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{"waltz.mid" + kInconsistent});
    // Both values of the first pair that differs, the named file first.
    EXPECT_EQ(prompt_.details,
              std::vector<std::string>{"waltz.mid: 3/4, BPM: 120\ni.mid: 4/4, BPM: 120"});
}

TEST_F(CheckCombinedPartsTest, AnUnreadableFileIsNamedButNotCompared) {
    test::WriteBytes(SubRepositoryFolder(temp_.Path(), SubRepository::Fill) / "junk.mid", {1});
    lists_.OnCombine(SubRepository::Fill, {"junk.mid"}, prompt_);
    EXPECT_EQ(CheckCombinedParts(lists_, prompt_),
              (std::vector<std::string>{"i.mid", "junk.mid", "e.mid"}));
}

}  // namespace
}  // namespace vantrel
