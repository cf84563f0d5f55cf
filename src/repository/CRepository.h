#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "repository/SubRepository.h"

namespace vantrel {

// The repository is three folders, Intro, Fill and Ending, under one root folder; what the
// folders hold is what the repository holds. An entry is a plain file of a sub-repository folder
// whose name ends in ".mid" in any letter case; folders and other files are not entries, and
// files directly in the root are never touched. Every operation takes bare entry names and is
// silent: failures show up as what the folders then hold.
class CRepository {
  public:
    // The root defaults to DefaultRepositoryRoot(); the command line's --repository and the
    // tests set another one.
    static void SetRoot(std::filesystem::path root);
    static const std::filesystem::path& Root();

    static std::filesystem::path Folder(SubRepository sub);
    // The root, then Intro, Fill and Ending; existing folders and files are left alone.
    static void CreateFolders();
    // The entries in the order the file system gives them; empty for a missing folder.
    static std::vector<std::string> List(SubRepository sub);
    // The files of the named entries that exist, in the order named; names that are not bare
    // entry names are left out.
    static std::vector<std::filesystem::path> EntryPaths(SubRepository sub,
                                                         const std::vector<std::string>& names);
    // Deletes each named entry for good; names that are not bare entry names are ignored.
    static void Remove(SubRepository sub, const std::vector<std::string>& names);
    static void RemoveAll(SubRepository sub);
    // Copies each named entry byte for byte; a name the target already holds keeps the target's
    // file and is skipped, the other names are still copied. Answers the entries that could not
    // be copied although the target did not hold them (a full or read-only medium), so callers
    // that report can say so.
    static std::vector<std::string> CopyTo(SubRepository from, SubRepository to,
                                           const std::vector<std::string>& names);

    // A name without any folder part ending in ".mid", case-insensitively.
    static bool IsEntryName(std::string_view name);
};

}  // namespace vantrel
