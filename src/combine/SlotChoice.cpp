#include "combine/SlotChoice.h"

#include <algorithm>

#include "common/UserPrompt.h"

namespace vantrel {

namespace {

const char kSelectSlotFirst[] = "Select slot first!";

}  // namespace

SlotTexts CollectSlotTexts(const std::vector<std::string>& rows,
                           const std::vector<std::size_t>& selectedRows) {
    SlotTexts slots{rows, false};
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
        if (slots.anyOccupiedSelected &&
            prompt.Ask("Overwrite?", PromptButtons::YesNo) != PromptAnswer::Yes) {
            return std::nullopt;
        }
        return std::string();
    }
    // Asking "Using empty slot?" when no slot is free would offer a Yes that stores nothing.
    const bool anyFree =
        std::find(slots.texts.begin(), slots.texts.end(), kEmptySlotText) != slots.texts.end();
    if (!anyFree || prompt.Ask("Using empty slot?", PromptButtons::YesNo) != PromptAnswer::Yes) {
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
