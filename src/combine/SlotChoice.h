#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceSlots.h"

namespace vantrel {

class UserPrompt;

// The device slot list's rows in slot order (a stored name or "Empty"), with every selected row
// replaced by "" (the selection marker). anyOccupiedSelected: a selected row held a name.
struct SlotTexts {
    std::vector<std::string> texts;
    bool anyOccupiedSelected = false;
    std::vector<std::string> rows;  // the rows as listed, for naming a slot to the user
};

// "Slot 3: NAME", or "Slot 3 (empty)" for a free slot; slots count from 0 as the keyboard's.
std::string DescribeSlot(std::size_t slot, const std::string& row);

// Rows outside the list are ignored.
SlotTexts CollectSlotTexts(const std::vector<std::string>& rows,
                           const std::vector<std::size_t>& selectedRows);

// Decides which slot text marks the target: "" for the one selected row ("Overwrite?" first
// when it is occupied; No stops silently), "Empty" for the first free slot after a Yes to
// "Using empty slot?". Both questions name the slot they are about as their detail. Two or more
// selected rows, a No to "Using empty slot?", or no selected row with no row reading "Empty"
// (nothing the question could offer) show "Select slot first!". nullopt when the upload stops.
std::optional<std::string> ChooseSlotMarker(const SlotTexts& slots, UserPrompt& prompt);

// The index of the first slot text equal to the marker.
std::optional<std::size_t> TargetSlot(const std::vector<std::string>& texts,
                                      const std::string& marker);

}  // namespace vantrel
