#include "play/SynthOutput.h"

#include <fluidsynth.h>

#include <array>
#include <cstdlib>

#include "device/rtmidi/RtMidiQuiet.h"
#include "play/FluidSynthEngine.h"

namespace vantrel::play {

struct SynthOutput::AudioDriver {
    fluid_audio_driver_t* driver = nullptr;
    ~AudioDriver() {
        if (driver != nullptr)
            delete_fluid_audio_driver(driver);
    }
};

std::unique_ptr<SynthOutput> SynthOutput::Open(const std::filesystem::path& soundFont,
                                               std::string& problem) {
    // Trying the drivers in turn must neither print the sound libraries' own complaints nor
    // start a JACK server as a side effect (which could take the sound card from the desktop's
    // sound server); a user who wants one started says so in JACK_NO_START_SERVER.
    rtmidi::SilenceMidiServices();
    (void)setenv("JACK_NO_START_SERVER", "1", 0);
    std::unique_ptr<SynthOutput> output(new SynthOutput);
    output->engine_ = FluidSynthEngine::Create(soundFont, {}, problem);
    if (!output->engine_)
        return nullptr;
    fluid_settings_t* settings = output->engine_->FluidSettings();
    char* preferred = nullptr;
    std::string first;
    if (fluid_settings_dupstr(settings, "audio.driver", &preferred) == FLUID_OK &&
        preferred != nullptr) {
        first = preferred;
        fluid_free(preferred);
    }
    // PipeWire serves both the PulseAudio and the JACK interfaces.
    static constexpr std::array<const char*, 3> kFallbacks = {"pulseaudio", "alsa", "jack"};
    std::string tried;
    output->audio_ = std::make_unique<AudioDriver>();
    auto tryDriver = [&](const std::string& name) {
        if (name.empty() || tried.find(name) != std::string::npos)
            return false;
        tried += (tried.empty() ? "" : ", ") + name;
        if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK)
            return false;
        output->audio_->driver = new_fluid_audio_driver(settings, output->engine_->Synth());
        if (output->audio_->driver == nullptr)
            return false;
        output->driver_ = name;
        return true;
    };
    if (tryDriver(first))
        return output;
    for (const char* name : kFallbacks) {
        if (tryDriver(name))
            return output;
    }
    (void)TakeFluidSynthError();
    problem = "No audio device could be opened (tried " + tried + ")";
    return nullptr;
}

SynthOutput::~SynthOutput() {
    // The driver's thread renders from the synthesizer: it goes first.
    audio_.reset();
    engine_.reset();
}

bool SynthOutput::Send(std::span<const std::uint8_t> message) {
    engine_->Apply(message);
    return true;
}

}  // namespace vantrel::play
