// The keyboard takes a pattern's tempo and time signature from the first ones in track 0.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fit/FitSteps.h"

namespace vantrel {

namespace {

bool IsUsableTempo(const SongEvent& event) {
    return event.IsMeta(0x51) && event.data.size() == 4;
}
bool IsUsableTimeSignature(const SongEvent& event) {
    return event.IsMeta(0x58) && event.data.size() == 5;
}

template <typename Usable>
void PlaceFirst(FitRun& run, Usable usable, const std::string& name, SongEvent fallback,
                const std::string& fallbackText) {
    std::vector<SongEvent>& events = run.song.tracks[0].events;
    const auto first = std::find_if(events.begin(), events.end(), usable);
    if (first == events.end()) {
        events.insert(events.begin(), std::move(fallback));
        run.Report("conductor", "no " + name + " in the file: " + fallbackText + " used");
        return;
    }
    if (first->time == 0)
        return;
    SongEvent moved = *first;
    const std::uint32_t from = moved.time;
    moved.time = 0;
    events.erase(first);
    events.insert(events.begin(), std::move(moved));
    run.Report("conductor", "the first " + name + " moved from tick " + std::to_string(from) +
                                " to tick 0 of track 0");
}

}  // namespace

std::uint32_t MeasureTicks(const Song& song) {
    if (!song.tracks.empty()) {
        for (const SongEvent& event : song.tracks[0].events) {
            if (!IsUsableTimeSignature(event))
                continue;
            const std::uint32_t ticks =
                (std::uint32_t{song.division} * 4 * (event.data[1] & 0x0F)) >>
                std::min(event.data[2] & 0x0F, 15);
            return std::max<std::uint32_t>(ticks, 1);
        }
    }
    return std::uint32_t{song.division} * 4;
}

void PlaceTempoAndTimeSignature(FitRun& run) {
    const double bpm = run.options.tempoBpm.value_or(120.0);
    const auto micros =
        static_cast<std::uint32_t>(std::clamp(std::lround(60000000.0 / bpm), 1L, 0xFFFFFFL));
    char tempoText[64];
    std::snprintf(tempoText, sizeof tempoText, "%g BPM%s", bpm,
                  run.options.tempoBpm ? " (--tempo)" : "");
    PlaceFirst(run, IsUsableTempo, "tempo",
               {0,
                0xFF,
                {0x51, static_cast<std::uint8_t>(micros >> 16),
                 static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)}},
               tempoText);

    const std::uint8_t numerator = run.options.numerator.value_or(4);
    const std::uint8_t power = run.options.numerator ? run.options.denominatorPower : 2;
    const std::string signatureText = std::to_string(numerator) + "/" + std::to_string(1 << power) +
                                      (run.options.numerator ? " (--time-signature)" : "");
    PlaceFirst(run, IsUsableTimeSignature, "time signature",
               {0, 0xFF, {0x58, numerator, power, 24, 8}}, signatureText);
}

}  // namespace vantrel
