#include "fit/FitMidi.h"
#include "fit/FitSteps.h"

namespace vantrel {

std::map<int, int> NotesByChannel(std::span<const std::uint8_t> image) {
    FitRun run;
    ReadSong(image, run);
    if (run.result.refused)
        return {};
    return CountNotes(run.song);
}

}  // namespace vantrel
