#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "common/SystemFile.h"

namespace vantrel {

// Writes bytes to a temporary name in the target's folder, then renames it over the target, so
// an interrupted write never leaves a truncated file under the real name. False on any failure
// (the temporary file is removed).
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Copies a file the same way; with replace false an existing target is left alone and the copy
// answers false. Without replacing, the copy is placed with a hard link, which fails atomically
// when the target exists; on file systems without hard links (FAT and exFAT on USB sticks, some
// network shares) it is placed by an exclusive create of the target instead, filled from the
// temporary copy, and removed again when that fails part way.
bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        bool replace);

// Reads a whole file of at most maxSize bytes; nullopt when it cannot be opened or read, or is
// larger than maxSize (nothing of it is read into memory then).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::uintmax_t maxSize);

// What makes a hard link (MakeHardLink of SystemFile.h). Tests put a failing one in its place to
// stand for a file system without hard links; the previous call is returned.
using HardLinkCall = HardLinkResult (*)(const std::filesystem::path& existing,
                                        const std::filesystem::path& created);
HardLinkCall SetHardLinkCall(HardLinkCall call);

}  // namespace vantrel
