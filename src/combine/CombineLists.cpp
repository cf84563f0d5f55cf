#include "combine/CombineLists.h"

#include <algorithm>

#include "common/UserPrompt.h"
#include "common/Utf8Path.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

const char kSelectFirst[] = "Please select the MIDI files first!";
const char kFillsFull[] = "File number has reached 8\xEF\xBC\x81";  // full-width "！"

}  // namespace

void CombineList::RemoveEntry(const std::string& name) {
    const fs::path target = folder_ / PathFromUtf8(name);
    std::erase_if(entries_,
                  [&](const fs::path& entry) { return entry.native() == target.native(); });
}

CombineLists::CombineLists(const fs::path& repositoryRoot)
    : intro_(SubRepositoryFolder(repositoryRoot, SubRepository::Intro), 1),
      fill_(SubRepositoryFolder(repositoryRoot, SubRepository::Fill), kMaxFills),
      ending_(SubRepositoryFolder(repositoryRoot, SubRepository::Ending), 1) {}

CombineList& CombineLists::List(SubRepository sub) {
    switch (sub) {
        case SubRepository::Intro:
            return intro_;
        case SubRepository::Fill:
            return fill_;
        case SubRepository::Ending:
            return ending_;
    }
    return intro_;
}

const CombineList& CombineLists::List(SubRepository sub) const {
    return const_cast<CombineLists*>(this)->List(sub);
}

void CombineLists::OnCombine(SubRepository tab, const std::vector<std::string>& selectedTexts,
                             UserPrompt& prompt) {
    if (selectedTexts.empty()) {
        prompt.Message(kSelectFirst);
        return;
    }
    CombineList& list = List(tab);
    if (tab != SubRepository::Fill) {
        list.entries_.assign(1, list.folder_ / PathFromUtf8(selectedTexts.front()));
        return;
    }
    const std::size_t present = list.entries_.size();
    if (present >= list.capacity_) {
        prompt.Message(kFillsFull);
        return;
    }
    std::size_t take = selectedTexts.size();
    if (present + take > list.capacity_) {
        prompt.Message(kFillsFull);
        take = list.capacity_ - present;
    }
    for (std::size_t i = 0; i < take; ++i) {
        const fs::path path = list.folder_ / PathFromUtf8(selectedTexts[i]);
        // Only the entries present before this click count, as the list box cannot select one
        // item twice.
        const auto end = list.entries_.begin() + static_cast<std::ptrdiff_t>(present);
        const bool listed = std::any_of(list.entries_.begin(), end, [&](const fs::path& entry) {
            return entry.native() == path.native();
        });
        if (!listed)
            list.entries_.push_back(path);
    }
}

}  // namespace vantrel
