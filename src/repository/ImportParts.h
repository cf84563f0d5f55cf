#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fit/StyleFromSong.h"
#include "repository/SubRepository.h"

namespace vantrel {

class UserPrompt;

// One fitted part on its way into the repository: its entry name and folder, and its bytes.
struct PartFile {
    std::string name;
    SubRepository sub = SubRepository::Fill;
    std::vector<std::uint8_t> bytes;
};

// The folder a part of a style goes to.
SubRepository PartFolder(SongPartKind kind);

// The parts of the list whose names their folder already holds.
std::vector<PartFile> PartsInRepository(const std::vector<PartFile>& parts);

// "NAME is already in the repository's FOLDER folder"
std::string AlreadyThereText(const PartFile& part);

// Imports every part into its sub-repository folder, each checked as any import is, or none:
// when one cannot be imported, the parts imported before it are taken out again and the entries
// they replaced are put back. Existing entries are replaced only with replace set; otherwise
// nothing is imported. Answers what went wrong, naming the part; empty when all are in.
std::string ImportPartsAllOrNone(const std::vector<PartFile>& parts, bool replace,
                                 UserPrompt& prompt);

}  // namespace vantrel
