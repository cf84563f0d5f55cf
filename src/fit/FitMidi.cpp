#include "fit/FitMidi.h"

#include <algorithm>

#include "common/AtomicFile.h"
#include "common/Utf8Path.h"
#include "fit/FitSteps.h"
#include "midi/CMidiReader.h"
#include "midi/SmfWriter.h"

namespace vantrel {

FitResult FitMidiImage(std::span<const std::uint8_t> image, const FitOptions& options) {
    FitRun run;
    run.options = options;
    ReadSong(image, run);
    if (run.result.refused)
        return run.result;
    run.result.notesIn = CountNotes(run.song);
    for (auto step : {RescaleDivision, SplitChannels, PlaceTempoAndTimeSignature, MapChannels,
                      ReleaseHeldNotes, TrimMeasures, FitChords, ThinStreams}) {
        step(run);
        if (run.result.refused)
            return run.result;
    }
    run.result.notesOut = CountNotes(run.song);
    run.result.unchanged =
        std::all_of(run.result.changes.begin(), run.result.changes.end(), IsInformation);
    if (run.result.unchanged) {
        run.result.output.assign(image.begin(), image.end());
        run.Report("unchanged", "already fits the pattern rules: no change needed");
    } else {
        run.result.output = ToSmf(run.song).Encode();
    }
    MeasureBudget(run);
    return run.result;
}

FitResult FitMidiFile(const std::filesystem::path& path, const FitOptions& options) {
    const auto image = ReadWholeFile(path, kMaxMidiFileSize);
    if (!image) {
        FitResult refused;
        refused.refused = true;
        refused.reason = "cannot be read (or is larger than " +
                         std::to_string(kMaxMidiFileSize / (1024 * 1024)) + " MiB)";
        return refused;
    }
    return FitMidiImage(*image, options);
}

std::filesystem::path FittedPath(const std::filesystem::path& input,
                                 const std::filesystem::path& folder) {
    const std::filesystem::path name = PathFromUtf8(input.stem().string() + ".fit.mid");
    return folder.empty() ? input.parent_path() / name : folder / name;
}

}  // namespace vantrel
