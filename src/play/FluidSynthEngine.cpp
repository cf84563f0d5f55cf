#include "play/FluidSynthEngine.h"

#include <fluidsynth.h>

#include <mutex>

namespace vantrel::play {

namespace {

std::mutex logMutex;
std::string lastError;  // guarded by logMutex

// FluidSynth prints its complaints; the program says what went wrong in its own words, with
// FluidSynth's last error as the detail.
extern "C" void KeepLogMessage(int level, const char* message, void*) {
    if (level > FLUID_ERR || message == nullptr)
        return;
    std::lock_guard lock(logMutex);
    lastError = message;
}

void QuietLogging() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
            fluid_set_log_function(level, &KeepLogMessage, nullptr);
    });
}

// The channel that plays percussion on the keyboard (11, index 10) sounds from the drum kits.
constexpr int kPercussionChannelIndex = 10;

}  // namespace

std::string TakeFluidSynthError() {
    std::lock_guard lock(logMutex);
    std::string error;
    error.swap(lastError);
    return error;
}

std::unique_ptr<FluidSynthEngine> FluidSynthEngine::Create(const std::filesystem::path& soundFont,
                                                           const Settings& settings,
                                                           std::string& problem) {
    QuietLogging();
    (void)TakeFluidSynthError();
    std::unique_ptr<FluidSynthEngine> engine(new FluidSynthEngine);
    engine->settings_ = new_fluid_settings();
    if (engine->settings_ == nullptr) {
        problem = "FluidSynth could not start";
        return nullptr;
    }
    fluid_settings_setint(engine->settings_, "synth.threadsafe-api", settings.threadSafe ? 1 : 0);
    if (!settings.fileName.empty()) {
        fluid_settings_setstr(engine->settings_, "audio.file.name", settings.fileName.c_str());
        fluid_settings_setstr(engine->settings_, "audio.file.type", "wav");
        fluid_settings_setstr(engine->settings_, "player.timing-source", "sample");
        fluid_settings_setint(engine->settings_, "synth.lock-memory", 0);
    }
    engine->synth_ = new_fluid_synth(engine->settings_);
    if (engine->synth_ == nullptr) {
        problem = "FluidSynth could not start: " + TakeFluidSynthError();
        return nullptr;
    }
    if (fluid_synth_sfload(engine->synth_, soundFont.string().c_str(), 1) == FLUID_FAILED) {
        const std::string detail = TakeFluidSynthError();
        problem = "SoundFont " + soundFont.string() + " does not load" +
                  (detail.empty() ? std::string() : " (" + detail + ")");
        return nullptr;
    }
    fluid_synth_set_channel_type(engine->synth_, kPercussionChannelIndex, CHANNEL_TYPE_DRUM);
    return engine;
}

FluidSynthEngine::~FluidSynthEngine() {
    if (synth_ != nullptr)
        delete_fluid_synth(synth_);
    if (settings_ != nullptr)
        delete_fluid_settings(settings_);
}

void FluidSynthEngine::Apply(std::span<const std::uint8_t> message) {
    if (message.empty())
        return;
    const int channel = message[0] & 0x0F;
    const int data1 = message.size() > 1 ? message[1] & 0x7F : 0;
    const int data2 = message.size() > 2 ? message[2] & 0x7F : 0;
    switch (message[0] & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth_, channel, data1);
            break;
        case 0x90:
            if (data2 == 0)
                fluid_synth_noteoff(synth_, channel, data1);
            else
                fluid_synth_noteon(synth_, channel, data1, data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth_, channel, data1, data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth_, channel, data1, data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth_, channel, data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth_, channel, data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
            break;
        default:
            break;
    }
}

double FluidSynthEngine::SampleRate() const {
    double rate = 44100.0;
    fluid_settings_getnum(settings_, "synth.sample-rate", &rate);
    return rate;
}

int FluidSynthEngine::PeriodSize() const {
    int size = 64;
    fluid_settings_getint(settings_, "audio.period-size", &size);
    return size;
}

}  // namespace vantrel::play
