#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vantrel {

struct TrackDamage;

// "track 1 is damaged: its events stop at byte 4 of 82, before End of Track (0 events read)",
// or, when every byte was read, "track 1 does not end with End of Track".
std::string TrackDamageText(const TrackDamage& damage);

// Why a file cannot be read as a Standard MIDI File, in words for the user and starting with
// the file's name ("song.mid is not a complete MIDI file: 1 of 3 tracks present"); nullopt when
// it reads cleanly, so that whatever refused it lies in its content.
std::optional<std::string> DescribeReadProblem(const std::filesystem::path& file);

}  // namespace vantrel
