#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pattern/PatternCheck.h"

namespace vantrel {

class UserPrompt;

// Converts one part file into its products; ConvertToProducts unless a test stands in.
using PartConverter =
    std::function<PatternProducts(const std::filesystem::path& midiFile, UserPrompt& prompt)>;

// Builds the combined style image from file names: the first from root/Intro, the last from
// root/Ending, those between from root/Fill in order (at most eight). Each part is converted in a
// private temporary folder, so nothing is left in the repository. Intro and Ending go to blocks 0
// and 1, Fill i to block 1 + i. An Intro or Ending that fails conversion shows
// "File is not supported!" and stops; a Fill that fails shows the same, keeps a zero block and
// the build goes on. A part whose products exceed what its block carries to the keyboard (2048
// bytes, or 2042 for the eighth Fill, whose last 6 bytes are never sent) shows its file name +
// "File size is greater than 2K!" and stops. Returns the 20474 bytes to send, or nullopt.
std::optional<std::vector<std::uint8_t>> BuildStyleImage(const std::filesystem::path& root,
                                                         const std::vector<std::string>& fileNames,
                                                         UserPrompt& prompt,
                                                         const PartConverter& convert);

}  // namespace vantrel
