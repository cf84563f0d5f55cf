#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "play/EventOutput.h"

namespace vantrel::play {

class FluidSynthEngine;

// Live sound: FluidSynth with a General MIDI SoundFont, through the desktop's audio (FluidSynth
// picks its default driver; PulseAudio, PipeWire's PulseAudio service, ALSA and JACK are tried
// after it). Loading a large SoundFont takes a moment, so a window makes one and keeps it
// for every Play.
class SynthOutput final : public EventOutput {
  public:
    // Null with the reason: the SoundFont does not load (named), or no audio device opens.
    static std::unique_ptr<SynthOutput> Open(const std::filesystem::path& soundFont,
                                             std::string& problem);
    ~SynthOutput() override;

    bool Send(std::span<const std::uint8_t> message) override;
    // The audio driver that plays ("pulseaudio", "alsa", ...).
    const std::string& Driver() const { return driver_; }

  private:
    struct AudioDriver;
    SynthOutput() = default;
    std::unique_ptr<FluidSynthEngine> engine_;
    std::unique_ptr<AudioDriver> audio_;
    std::string driver_;
};

}  // namespace vantrel::play
