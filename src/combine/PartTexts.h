#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

// What the upload compares between the chosen files: the file name, and when the file's tempo
// and time signature lists can be read, "BPM: %d" from its first tempo and "%d/%d" from its
// first time signature.
struct PartTexts {
    std::string fileName;
    std::optional<std::string> tempo;
    std::optional<std::string> timeSignature;
};

// A file whose information cannot be read keeps its name and no texts.
PartTexts ReadPartTexts(const std::filesystem::path& path);

// Examines the pairs (i, j), i < j, i ascending and j ascending for each i: first the time
// signature texts when both have one, then the tempo texts. The index of file j of the first
// pair that differs, or nullopt when all agree.
std::optional<std::size_t> FindInconsistentPart(const std::vector<PartTexts>& parts);
// The same pair (i, j) itself.
std::optional<std::pair<std::size_t, std::size_t>> FindInconsistentPair(
    const std::vector<PartTexts>& parts);

// "4/4, BPM: 120": what of the two texts the file has, empty when it has neither.
std::string BeatAndTempo(const PartTexts& part);

}  // namespace vantrel
