#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vantrel {

enum class FileImageStatus { Ok, CannotOpen, TooLarge, ReadFailed };

struct FileImage {
    FileImageStatus status = FileImageStatus::CannotOpen;
    std::vector<std::uint8_t> bytes;  // the whole file when status is Ok
};

// Reads a whole file with one read call. A file above maxSize is not read at all; a file that
// opens but cannot be read whole (a folder, a file shrinking underneath) is ReadFailed.
FileImage ReadFileImage(const std::filesystem::path& path, std::uintmax_t maxSize);

}  // namespace vantrel
