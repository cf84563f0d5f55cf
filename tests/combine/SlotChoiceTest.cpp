#include <gtest/gtest.h>

#include "ScriptedPrompt.h"
#include "combine/SlotChoice.h"

namespace vantrel {
namespace {

const std::vector<std::string> kRows = {"Pop", "Empty", "Rock", "Empty"};

struct Choice {
    test::ScriptedPrompt prompt;
    std::optional<std::string> marker;
    std::optional<std::size_t> slot;

    Choice(const std::vector<std::size_t>& selected, std::deque<PromptAnswer> answers = {}) {
        prompt.answers = std::move(answers);
        const SlotTexts texts = CollectSlotTexts(kRows, selected);
        marker = ChooseSlotMarker(texts, prompt);
        if (marker)
            slot = TargetSlot(texts.texts, *marker);
    }
};

TEST(CollectSlotTexts, SelectedRowsBecomeTheEmptyMarker) {
    const SlotTexts free = CollectSlotTexts(kRows, {3});
    EXPECT_EQ(free.texts, (std::vector<std::string>{"Pop", "Empty", "Rock", ""}));
    EXPECT_FALSE(free.anyOccupiedSelected);
    const SlotTexts both = CollectSlotTexts(kRows, {2, 1, 9});
    EXPECT_EQ(both.texts, (std::vector<std::string>{"Pop", "", "", "Empty"}));
    EXPECT_TRUE(both.anyOccupiedSelected);
}

TEST(SlotChoice, OneSelectedFreeSlotIsTheTargetWithoutAQuestion) {
    const Choice choice({3});
    EXPECT_TRUE(choice.prompt.shown.empty());
    EXPECT_EQ(choice.slot, 3u);
}

TEST(SlotChoice, OneSelectedOccupiedSlotAsksBeforeOverwriting) {
    const Choice yes({2}, {PromptAnswer::Yes});
    EXPECT_EQ(yes.prompt.questions, std::vector<std::string>{"Overwrite?"});
    EXPECT_EQ(yes.prompt.details, std::vector<std::string>{"Slot 2: Rock"});
    EXPECT_EQ(yes.slot, 2u);
    const Choice no({2}, {PromptAnswer::No});
    EXPECT_FALSE(no.marker);
    EXPECT_TRUE(no.prompt.messages.empty());
}

TEST(SlotChoice, TwoSelectedSlotsAreRefused) {
    const Choice choice({0, 1});
    EXPECT_FALSE(choice.marker);
    EXPECT_EQ(choice.prompt.messages, std::vector<std::string>{"Select slot first!"});
    EXPECT_TRUE(choice.prompt.questions.empty());
}

TEST(SlotChoice, NoSelectionOffersTheFirstFreeSlot) {
    const Choice yes({}, {PromptAnswer::Yes});
    EXPECT_EQ(yes.prompt.questions, std::vector<std::string>{"Using empty slot?"});
    EXPECT_EQ(yes.prompt.details, std::vector<std::string>{"Slot 1 (empty)"});
    EXPECT_EQ(yes.slot, 1u);
    const Choice no({}, {PromptAnswer::No});
    EXPECT_FALSE(no.marker);
    EXPECT_EQ(no.prompt.messages, std::vector<std::string>{"Select slot first!"});
}

TEST(SlotChoice, NoSelectionAndNoFreeSlotIsRefusedWithoutAQuestion) {
    test::ScriptedPrompt prompt;
    prompt.answers = {PromptAnswer::Yes};
    const SlotTexts full = CollectSlotTexts({"Pop", "Rock"}, {});
    EXPECT_FALSE(ChooseSlotMarker(full, prompt));
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Select slot first!"});
}

}  // namespace
}  // namespace vantrel
