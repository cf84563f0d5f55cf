#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// What one keyboard slot holds: the style image and the name the slot list shows for it.
struct SlotContent {
    std::string name;
    std::vector<std::uint8_t> image;
};

// The keyboard's slots, in memory and, when a folder is given, also as files in that folder:
// "slot-NNN.mix" holds slot NNN's image (NNN counts from 000) and "slot-NNN.name" its name when
// the name is not the default one. A slot is changed on disk first (written atomically) and in
// memory only when the disk agreed, so a failed write leaves both as they were.
// Not thread-safe: the keyboard serialises access.
class SlotStore {
  public:
    SlotStore(std::size_t slotCount, std::filesystem::path folder);

    // Creates the folder and reads the slots it holds; images larger than maxImageSize are left
    // on disk and the slot is treated as empty. False when the folder cannot be created.
    bool Load(std::uintmax_t maxImageSize);

    std::size_t Count() const { return slots_.size(); }
    const std::optional<SlotContent>& Slot(std::size_t slot) const { return slots_.at(slot); }
    // Bytes taken by the images of every slot but the one given.
    std::uint64_t BytesUsedExcept(std::size_t slot) const;

    bool Put(std::size_t slot, SlotContent content);
    bool Erase(std::size_t slot);

    // "Style NNN" with NNN counting from 001: what the slot list shows for an image that came
    // without a name.
    static std::string DefaultName(std::size_t slot);

  private:
    std::filesystem::path ImagePath(std::size_t slot) const;
    std::filesystem::path NamePath(std::size_t slot) const;

    std::vector<std::optional<SlotContent>> slots_;
    std::filesystem::path folder_;
};

}  // namespace vantrel
