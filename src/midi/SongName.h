#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vantrel {

// What the file browser shows in its "Song Name" column: the first meta text of a file that
// loads, has an accepted header and whose tracks all end properly; nullopt otherwise (also for
// a file that cannot be opened). Gives exactly CMidiReader's answer but builds no event lists.
std::optional<std::string> ReadSongName(const std::filesystem::path& path);
std::optional<std::string> SongNameOfImage(std::span<const std::uint8_t> image);

}  // namespace vantrel
