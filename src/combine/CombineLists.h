#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "repository/SubRepository.h"

namespace vantrel {

class UserPrompt;

// One combine selection list: full paths (its sub-repository folder + a file name) in the order
// they were added. Entries are not checked against the disk: a file deleted from its folder stays
// listed until it is removed here.
class CombineList {
  public:
    CombineList(std::filesystem::path folder, std::size_t capacity)
        : folder_(std::move(folder)), capacity_(capacity) {}

    const std::filesystem::path& FolderPath() const { return folder_; }
    std::size_t Capacity() const { return capacity_; }
    const std::vector<std::filesystem::path>& EntryPaths() const { return entries_; }
    std::size_t EntryCount() const { return entries_.size(); }

    // Removes every entry equal to FolderPath + name (exact text); later entries move up and
    // keep their order. A name that is not listed changes nothing.
    void RemoveEntry(const std::string& name);

  private:
    friend class CombineLists;
    std::filesystem::path folder_;
    std::size_t capacity_;
    std::vector<std::filesystem::path> entries_;
};

// The Intro, Fill and Ending combine lists. Intro and Ending hold one path, Fill up to eight.
class CombineLists {
  public:
    static constexpr std::size_t kMaxFills = 8;

    // The lists take their folders from the repository root: root/Intro, root/Fill, root/Ending.
    explicit CombineLists(const std::filesystem::path& repositoryRoot);

    CombineList& List(SubRepository sub);
    const CombineList& List(SubRepository sub) const;

    // The "Combine" button: copies the selected item texts of the current tab (list box order)
    // into the matching list. No selection: "Please select the MIDI files first!". Intro and
    // Ending: the first selected text replaces the entry. Fill: with eight listed,
    // "File number has reached 8！" and nothing changes; with more selected than places left the
    // same message, then only the first that fit are taken; a taken path already listed before
    // this call is skipped.
    void OnCombine(SubRepository tab, const std::vector<std::string>& selectedTexts,
                   UserPrompt& prompt);

    void RemoveEntry(SubRepository sub, const std::string& name) { List(sub).RemoveEntry(name); }

  private:
    CombineList intro_;
    CombineList fill_;
    CombineList ending_;
};

}  // namespace vantrel
