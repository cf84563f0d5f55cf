#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace vantrel {

// Writes bytes to a temporary name in the target's folder, then renames it over the target, so
// an interrupted write never leaves a truncated file under the real name. False on any failure
// (the temporary file is removed).
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Copies a file the same way; with replace false an existing target is left alone and the copy
// answers false.
bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        bool replace);

// Reads a whole file of at most maxSize bytes; nullopt when it cannot be opened or read, or is
// larger than maxSize (nothing of it is read into memory then).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::uintmax_t maxSize);

}  // namespace vantrel
