#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel::play {

// Debian's General MIDI SoundFonts, the full one first: fluid-soundfont-gm, then
// timgm6mb-soundfont (small; the tests use it).
std::vector<std::filesystem::path> DebianSoundFonts();

struct SoundFontChoice {
    std::filesystem::path path;  // empty when there is none
    std::string problem;         // why there is none, saying what to install
};

// The SoundFont given, when it is a file; else the first of the candidates that exists.
SoundFontChoice ChooseSoundFont(const std::optional<std::filesystem::path>& given,
                                std::span<const std::filesystem::path> candidates);

}  // namespace vantrel::play
