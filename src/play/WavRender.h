#pragma once

#include <filesystem>
#include <string>

#include "play/Performance.h"

namespace vantrel::play {

// Seconds rendered after the last measure, so the last notes ring out as they fade.
inline constexpr double kReleaseTailSeconds = 1.0;

struct RenderResult {
    bool written = false;
    std::string problem;  // why nothing was written, naming the file or the SoundFont
    double seconds = 0;   // the length of the sound written
};

// Renders the performance offline with FluidSynth's file renderer (as fast as the machine
// goes), then the release tail, into a 16-bit stereo WAV file at 44.1 kHz. Written under a
// temporary name beside the target and renamed, so no half-written file is left.
RenderResult RenderWav(const Performance& performance, const std::filesystem::path& soundFont,
                       const std::filesystem::path& wav, double tailSeconds = kReleaseTailSeconds);

}  // namespace vantrel::play
