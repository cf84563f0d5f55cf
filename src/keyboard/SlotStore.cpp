#include "keyboard/SlotStore.h"

#include <cstdio>
#include <span>
#include <system_error>
#include <utility>

#include "common/AtomicFile.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMaxNameFileSize = 255;

std::string SlotStem(std::size_t slot) {
    char stem[32];
    std::snprintf(stem, sizeof stem, "slot-%03zu", slot);
    return stem;
}

std::span<const std::uint8_t> TextBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

SlotStore::SlotStore(std::size_t slotCount, fs::path folder)
    : slots_(slotCount), folder_(std::move(folder)) {}

std::string SlotStore::DefaultName(std::size_t slot) {
    char name[32];
    std::snprintf(name, sizeof name, "Style %03zu", slot + 1);
    return name;
}

fs::path SlotStore::ImagePath(std::size_t slot) const {
    return folder_ / (SlotStem(slot) + ".mix");
}

fs::path SlotStore::NamePath(std::size_t slot) const {
    return folder_ / (SlotStem(slot) + ".name");
}

bool SlotStore::Load(std::uintmax_t maxImageSize) {
    if (folder_.empty())
        return true;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (!fs::is_directory(folder_, ec))
        return false;
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
        auto image = ReadWholeFile(ImagePath(slot), maxImageSize);
        if (!image) {
            slots_[slot].reset();
            continue;
        }
        std::string name = DefaultName(slot);
        if (auto text = ReadWholeFile(NamePath(slot), kMaxNameFileSize); text && !text->empty()) {
            name.assign(text->begin(), text->end());
        }
        slots_[slot] = SlotContent{std::move(name), std::move(*image)};
    }
    return true;
}

std::uint64_t SlotStore::BytesUsedExcept(std::size_t slot) const {
    std::uint64_t used = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (i != slot && slots_[i])
            used += slots_[i]->image.size();
    }
    return used;
}

bool SlotStore::Put(std::size_t slot, SlotContent content) {
    if (slot >= slots_.size())
        return false;
    if (!folder_.empty()) {
        if (!WriteFileAtomically(ImagePath(slot), content.image))
            return false;
        // The name is cosmetic: an image stored under a stale name is still the right image.
        std::error_code ec;
        if (content.name == DefaultName(slot)) {
            fs::remove(NamePath(slot), ec);
        } else {
            WriteFileAtomically(NamePath(slot), TextBytes(content.name));
        }
    }
    slots_[slot] = std::move(content);
    return true;
}

bool SlotStore::Erase(std::size_t slot) {
    if (slot >= slots_.size())
        return false;
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove(ImagePath(slot), ec);
        if (ec)
            return false;
        fs::remove(NamePath(slot), ec);
    }
    slots_[slot].reset();
    return true;
}

}  // namespace vantrel
