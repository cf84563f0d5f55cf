#include "combine/SlotChoice.h"

#include <algorithm>

#include "common/UserPrompt.h"

namespace vantrel {

namespace {

const char kSelectSlotFirst[] = "Select slot first!";

}  // namespace

std::string DescribeSlot(std::size_t slot, const std::string& row) {
    const std::string number = "Slot " + std::to_string(slot);
    return row == kEmptySlotText ? number + " (empty)" : number + ": " + row;
}

SlotTexts CollectSlotTexts(const std::vector<std::string>& rows,
                           const std::vector<std::size_t>& selectedRows) {
    SlotTexts slots{rows, false, rows};
    std::vector<std::size_t> selected = selectedRows;
    std::sort(selected.begin(), selected.end());
    for (std::size_t row : selected) {
        if (row >= slots.texts.size())
            continue;
        if (slots.texts[row] != kEmptySlotText)
            slots.anyOccupiedSelected = true;
        slots.texts[row].clear();
    }
    return slots;
}

std::optional<std::string> ChooseSlotMarker(const SlotTexts& slots, UserPrompt& prompt) {
    const auto selected = std::count(slots.texts.begin(), slots.texts.end(), std::string());
    if (selected >= 2) {
        prompt.Message(kSelectSlotFirst);
        return std::nullopt;
    }
    if (selected == 1) {
        const std::size_t slot = *TargetSlot(slots.texts, std::string());
        const std::string row = slot < slots.rows.size() ? slots.rows[slot] : std::string();
        if (slots.anyOccupiedSelected &&
            prompt.AskWithDetail("Overwrite?", PromptButtons::YesNo, DescribeSlot(slot, row)) !=
                PromptAnswer::Yes) {
            return std::nullopt;
        }
        return std::string();
    }
    // Asking "Using empty slot?" when no slot is free would offer a Yes that stores nothing.
    const auto firstFree = TargetSlot(slots.texts, kEmptySlotText);
    if (!firstFree ||
        prompt.AskWithDetail("Using empty slot?", PromptButtons::YesNo,
                             DescribeSlot(*firstFree, kEmptySlotText)) != PromptAnswer::Yes) {
        prompt.Message(kSelectSlotFirst);
        return std::nullopt;
    }
    return std::string(kEmptySlotText);
}

std::optional<std::size_t> TargetSlot(const std::vector<std::string>& texts,
                                      const std::string& marker) {
    const auto it = std::find(texts.begin(), texts.end(), marker);
    if (it == texts.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - texts.begin());
}

}  // namespace vantrel
