// Rescaling every time to the keyboard's 192 ticks per quarter note.
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "fit/FitSteps.h"

namespace vantrel {

namespace {

constexpr std::uint16_t kPatternDivision = 192;

std::uint32_t Rescaled(std::uint32_t ticks, std::uint16_t division) {
    const std::uint64_t scaled =
        (std::uint64_t{ticks} * kPatternDivision + division / 2) / division;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(scaled, 0x0FFFFFFF));
}

// A note that had a length keeps at least one tick: its close moves one tick past its start.
// Notes pair as the converter pairs them: each sounding note on with the first later close of
// its key on its channel.
int KeepNotesAudible(SongTrack& track, const std::vector<std::uint32_t>& originalTimes) {
    int lengthened = 0;
    std::vector<std::vector<std::size_t>> open(16 * 128);
    for (std::size_t i = 0; i < track.events.size(); ++i) {
        SongEvent& event = track.events[i];
        if (!event.IsChannel() || (!event.IsNoteOn() && !event.ClosesNote()))
            continue;
        auto& waiting =
            open[static_cast<std::size_t>((event.Channel() - 1) * 128 + (event.Key() & 0x7F))];
        if (event.IsNoteOn()) {
            waiting.push_back(i);
            continue;
        }
        for (const std::size_t on : waiting) {
            const SongEvent& start = track.events[on];
            if (event.time <= start.time && originalTimes[i] > originalTimes[on]) {
                event.time = start.time + 1;
                ++lengthened;
            }
        }
        waiting.clear();
    }
    return lengthened;
}

}  // namespace

void RescaleDivision(FitRun& run) {
    const std::uint16_t division = run.song.division;
    if (division == kPatternDivision)
        return;
    double largestError = 0;
    int lengthened = 0;
    for (SongTrack& track : run.song.tracks) {
        std::vector<std::uint32_t> originalTimes;
        originalTimes.reserve(track.events.size());
        for (SongEvent& event : track.events) {
            originalTimes.push_back(event.time);
            event.time = Rescaled(event.time, division);
            const double back = double(event.time) * division / kPatternDivision;
            largestError = std::max(largestError, std::fabs(back - originalTimes.back()));
        }
        track.end = Rescaled(track.end, division);
        lengthened += KeepNotesAudible(track, originalTimes);
        track.Settle();
    }
    run.song.division = kPatternDivision;
    char detail[200];
    std::snprintf(detail, sizeof detail,
                  "division %u to 192 ticks per quarter note; largest timing error %.2f of the "
                  "input's ticks",
                  division, largestError);
    std::string text = detail;
    if (lengthened > 0)
        text += "; " + std::to_string(lengthened) + " notes that would last 0 ticks keep 1";
    run.Report("division", text);
}

}  // namespace vantrel
