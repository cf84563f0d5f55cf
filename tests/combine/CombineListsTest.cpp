#include <gtest/gtest.h>

#include "ScriptedPrompt.h"
#include "combine/CombineLists.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

const std::string kFillsFull = "File number has reached 8\xEF\xBC\x81";

class CombineListsTest : public ::testing::Test {
  protected:
    std::vector<std::string> Fills() const {
        std::vector<std::string> names;
        for (const fs::path& path : lists_.List(SubRepository::Fill).EntryPaths()) {
            EXPECT_EQ(path.parent_path(), fs::path("/r/Fill"));
            names.push_back(path.filename().string());
        }
        return names;
    }
    void AddFills(const std::vector<std::string>& names) {
        lists_.OnCombine(SubRepository::Fill, names, prompt_);
    }

    CombineLists lists_{"/r"};
    test::ScriptedPrompt prompt_;
};

TEST_F(CombineListsTest, IntroAndEndingHoldOnlyTheLastChosenFile) {
    lists_.OnCombine(SubRepository::Intro, {"a.mid"}, prompt_);
    lists_.OnCombine(SubRepository::Intro, {"b.mid"}, prompt_);
    lists_.OnCombine(SubRepository::Ending, {"e.mid"}, prompt_);
    EXPECT_EQ(lists_.List(SubRepository::Intro).EntryPaths(),
              std::vector<fs::path>{"/r/Intro/b.mid"});
    EXPECT_EQ(lists_.List(SubRepository::Ending).EntryPaths(),
              std::vector<fs::path>{"/r/Ending/e.mid"});
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(CombineListsTest, NothingSelectedAsksForASelectionAndChangesNothing) {
    lists_.OnCombine(SubRepository::Intro, {"a.mid"}, prompt_);
    lists_.OnCombine(SubRepository::Intro, {}, prompt_);
    lists_.OnCombine(SubRepository::Fill, {}, prompt_);
    EXPECT_EQ(prompt_.messages, (std::vector<std::string>{"Please select the MIDI files first!",
                                                          "Please select the MIDI files first!"}));
    EXPECT_EQ(lists_.List(SubRepository::Intro).EntryCount(), 1u);
    EXPECT_EQ(lists_.List(SubRepository::Fill).EntryCount(), 0u);
}

TEST_F(CombineListsTest, FillsKeepTheOrderOfAddingAndSkipFilesAlreadyListed) {
    AddFills({"c.mid", "a.mid"});
    AddFills({"b.mid", "a.mid", "d.mid"});
    EXPECT_EQ(Fills(), (std::vector<std::string>{"c.mid", "a.mid", "b.mid", "d.mid"}));
    // The comparison is exact: another letter case is another file.
    AddFills({"A.mid"});
    EXPECT_EQ(Fills().back(), "A.mid");
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(CombineListsTest, MoreFillsThanPlacesLeftTakesTheFirstAfterTheMessage) {
    AddFills({"1.mid", "2.mid", "3.mid", "4.mid", "5.mid", "6.mid"});
    AddFills({"x.mid", "y.mid", "z.mid"});
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{kFillsFull});
    EXPECT_EQ(Fills(), (std::vector<std::string>{"1.mid", "2.mid", "3.mid", "4.mid", "5.mid",
                                                 "6.mid", "x.mid", "y.mid"}));
}

TEST_F(CombineListsTest, AListedFileAmongTheFirstThatFitLeavesItsPlaceUnused) {
    AddFills({"1.mid", "2.mid", "3.mid", "4.mid", "5.mid", "6.mid"});
    AddFills({"3.mid", "y.mid", "z.mid"});
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{kFillsFull});
    EXPECT_EQ(Fills().size(), 7u);
    EXPECT_EQ(Fills().back(), "y.mid");
}

TEST_F(CombineListsTest, EightFillsRefuseEveryFurtherFile) {
    AddFills({"1.mid", "2.mid", "3.mid", "4.mid", "5.mid", "6.mid", "7.mid", "8.mid"});
    const auto before = Fills();
    AddFills({"9.mid"});
    AddFills({"1.mid", "9.mid", "10.mid"});
    EXPECT_EQ(prompt_.messages, (std::vector<std::string>{kFillsFull, kFillsFull}));
    EXPECT_EQ(Fills(), before);
}

TEST_F(CombineListsTest, RemovingAFillKeepsTheOrderOfTheOthers) {
    AddFills({"1.mid", "2.mid", "3.mid", "4.mid"});
    lists_.RemoveEntry(SubRepository::Fill, "2.mid");
    EXPECT_EQ(Fills(), (std::vector<std::string>{"1.mid", "3.mid", "4.mid"}));
    lists_.RemoveEntry(SubRepository::Fill, "missing.mid");
    lists_.RemoveEntry(SubRepository::Intro, "1.mid");
    EXPECT_EQ(Fills().size(), 3u);
    lists_.OnCombine(SubRepository::Ending, {"e.mid"}, prompt_);
    lists_.RemoveEntry(SubRepository::Ending, "e.mid");
    EXPECT_EQ(lists_.List(SubRepository::Ending).EntryCount(), 0u);
}

}  // namespace
}  // namespace vantrel
