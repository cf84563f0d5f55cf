#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vantrel::bench {

// Writes count Standard MIDI Files of about sizeKiB each into folder: a conductor track (name,
// tempo, time signature) and eight instrument tracks of notes, controllers and pitch bends,
// half of them in running status, the way sequencers save songs.
void WriteParseCorpus(const std::filesystem::path& folder, int count, int sizeKiB);

// The .mid files of a folder, sorted by name.
std::vector<std::filesystem::path> MidiFilesIn(const std::filesystem::path& folder);

}  // namespace vantrel::bench
