#pragma once

#include <filesystem>
#include <map>
#include <span>

#include "fit/FitOptions.h"
#include "fit/FitResult.h"

namespace vantrel {

// Makes a Standard MIDI File fit the keyboard's pattern rules: rescales it to 192 ticks per
// quarter note, gives every channel a track of its own, puts tempo and time signature at the
// start of track 0, places the channels on 10..16, releases held notes, keeps the first
// --measures, and converts the outcome as the upload would to tell whether its block holds it.
// Every change is reported in that order. A file that needs no change keeps its own bytes.
FitResult FitMidiImage(std::span<const std::uint8_t> image, const FitOptions& options);

// The same for a file on disk; a file that cannot be read is refused.
FitResult FitMidiFile(const std::filesystem::path& path, const FitOptions& options);

// Note ons that sound, by the song's own channels (1..16), before anything is fitted; empty for
// a file that cannot be read as a song.
std::map<int, int> NotesByChannel(std::span<const std::uint8_t> image);

// Where the fitted copy of input goes: NAME.fit.mid in folder, or beside the input.
std::filesystem::path FittedPath(const std::filesystem::path& input,
                                 const std::filesystem::path& folder = {});

}  // namespace vantrel
