#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

// FluidSynth's own types, named here so that only this folder's sources include its header.
typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace vantrel::play {

// One FluidSynth synthesizer with a SoundFont loaded, set up to play patterns: channel 11
// (percussion) is a drum channel like channel 10. Used by the live output and by the WAV render;
// FluidSynth is linked by this folder alone.
class FluidSynthEngine {
  public:
    // Extra FluidSynth settings are applied before the synthesizer is made.
    struct Settings {
        bool threadSafe = true;  // false for a render that one thread drives
        std::string fileName;    // the file renderer's output; empty when not rendering
    };

    // Null with the reason in `problem` (naming the SoundFont when it does not load).
    static std::unique_ptr<FluidSynthEngine> Create(const std::filesystem::path& soundFont,
                                                    const Settings& settings, std::string& problem);
    ~FluidSynthEngine();
    FluidSynthEngine(const FluidSynthEngine&) = delete;
    FluidSynthEngine& operator=(const FluidSynthEngine&) = delete;

    // Applies one channel message (1 to 3 bytes); others are ignored.
    void Apply(std::span<const std::uint8_t> message);

    fluid_settings_t* FluidSettings() const { return settings_; }
    fluid_synth_t* Synth() const { return synth_; }
    double SampleRate() const;
    int PeriodSize() const;

  private:
    FluidSynthEngine() = default;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
};

// The last error FluidSynth logged (it logs instead of answering why), cleared by the call.
std::string TakeFluidSynthError();

}  // namespace vantrel::play
