// A note on that nothing releases gets its note off at the end of the pattern's last measure.
#include <algorithm>
#include <set>
#include <utility>

#include "fit/FitSteps.h"
#include "fit/NotePairing.h"

namespace vantrel {

void ReleaseHeldNotes(FitRun& run) {
    const std::uint64_t measure = MeasureTicks(run.song);
    const std::uint64_t last = run.song.EndTime();
    // Times past what a file's length quantities hold are not written; nothing is released there.
    const auto end = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        std::max<std::uint64_t>((last + measure - 1) / measure, 1) * measure, 0x0FFFFFFF));
    for (SongTrack& track : run.song.tracks) {
        const std::vector<std::size_t> held = UnclosedNotes(track);
        std::set<std::pair<int, std::uint8_t>> released;
        for (const std::size_t index : held) {
            const SongEvent on = track.events[index];
            // A note on standing at the very end still sounds for a tick. Several note ons of
            // one key all end at its one note off.
            const std::uint32_t release =
                std::max(end, std::min<std::uint32_t>(on.time, 0x0FFFFFFE) + 1);
            if (released.insert({on.Channel(), on.Key()}).second)
                track.events.push_back(NoteOffEvent(release, on.Channel(), on.Key()));
            run.Report("held-note", "channel " + std::to_string(on.Channel()) + " key " +
                                        std::to_string(on.Key()) + " from tick " +
                                        std::to_string(on.time) + " released at tick " +
                                        std::to_string(release) + ", the end of its last measure");
        }
        if (!held.empty())
            track.Settle();
    }
}

}  // namespace vantrel
