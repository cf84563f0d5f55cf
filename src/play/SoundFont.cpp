#include "play/SoundFont.h"

#include <system_error>

namespace vantrel::play {

std::vector<std::filesystem::path> DebianSoundFonts() {
    return {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};
}

SoundFontChoice ChooseSoundFont(const std::optional<std::filesystem::path>& given,
                                std::span<const std::filesystem::path> candidates) {
    std::error_code ec;
    if (given) {
        if (std::filesystem::is_regular_file(*given, ec))
            return {*given, {}};
        return {{}, "SoundFont " + given->string() + " does not exist or is not a file"};
    }
    std::string looked;
    for (const auto& candidate : candidates) {
        if (std::filesystem::is_regular_file(candidate, ec))
            return {candidate, {}};
        looked += (looked.empty() ? "" : ", ") + candidate.string();
    }
    return {{},
            "No General MIDI SoundFont found (looked for " + looked +
                "). Install the Debian package fluid-soundfont-gm (or the smaller "
                "timgm6mb-soundfont): sudo apt install fluid-soundfont-gm"};
}

}  // namespace vantrel::play
