#include "play/WavRender.h"

#include <fluidsynth.h>

#include <cmath>
#include <system_error>

#include "play/FluidSynthEngine.h"

namespace vantrel::play {

namespace {

struct FileRenderer {
    fluid_file_renderer_t* renderer = nullptr;
    ~FileRenderer() {
        if (renderer != nullptr)
            delete_fluid_file_renderer(renderer);
    }
};

}  // namespace

RenderResult RenderWav(const Performance& performance, const std::filesystem::path& soundFont,
                       const std::filesystem::path& wav, double tailSeconds) {
    RenderResult result;
    std::filesystem::path staged = wav;
    staged += ".part";
    std::error_code ec;
    bool failed = false;
    {
        FluidSynthEngine::Settings settings;
        settings.threadSafe = false;
        settings.fileName = staged.string();
        auto engine = FluidSynthEngine::Create(soundFont, settings, result.problem);
        if (!engine)
            return result;
        FileRenderer file;
        file.renderer = new_fluid_file_renderer(engine->Synth());
        if (file.renderer == nullptr) {
            result.problem = wav.string() + " cannot be written (" + TakeFluidSynthError() + ")";
            std::filesystem::remove(staged, ec);
            return result;
        }
        const double rate = engine->SampleRate();
        const auto period = static_cast<std::uint64_t>(engine->PeriodSize());
        const double seconds = performance.DurationSeconds() + tailSeconds;
        const auto blocks = static_cast<std::uint64_t>(std::ceil(seconds * rate / period));
        std::size_t next = 0;
        for (std::uint64_t block = 0; block < blocks; ++block) {
            // Events take effect at the start of the block they fall in, as FluidSynth's own
            // player does.
            const double blockEnd = static_cast<double>((block + 1) * period) / rate;
            while (next < performance.events.size() &&
                   performance.SecondsAt(performance.events[next].tick) < blockEnd) {
                engine->Apply(performance.events[next].Bytes());
                ++next;
            }
            if (fluid_file_renderer_process_block(file.renderer) != FLUID_OK) {
                result.problem =
                    wav.string() + " cannot be written (" + TakeFluidSynthError() + ")";
                failed = true;
                break;
            }
        }
        result.seconds = static_cast<double>(blocks * period) / rate;
    }
    if (failed) {
        std::filesystem::remove(staged, ec);
        return result;
    }
    std::filesystem::rename(staged, wav, ec);
    if (ec) {
        std::filesystem::remove(staged, ec);
        result.problem = wav.string() + " cannot be written";
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace vantrel::play
