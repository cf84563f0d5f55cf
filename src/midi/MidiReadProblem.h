#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vantrel {

// Why a file cannot be read as a Standard MIDI File, in words for the user and starting with
// the file's name ("song.mid is not a complete MIDI file: 1 of 3 tracks present"); nullopt when
// it reads cleanly, so that whatever refused it lies in its content.
std::optional<std::string> DescribeReadProblem(const std::filesystem::path& file);

}  // namespace vantrel
