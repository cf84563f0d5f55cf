// --measures N: the first N measures stay; notes sounding across the cut end at it.
#include <algorithm>
#include <map>
#include <set>

#include "fit/FitSteps.h"
#include "fit/NotePairing.h"

namespace vantrel {

namespace {

void ReportCut(FitRun& run, std::uint32_t cut, int eventsCut, int notesCut, int shortened) {
    std::string detail = "kept the first " + std::to_string(*run.options.measures) +
                         " measures (ticks 0 to " + std::to_string(cut) + "): cut " +
                         std::to_string(eventsCut) + " events, " + std::to_string(notesCut) +
                         " of them notes";
    if (shortened > 0)
        detail += "; " + std::to_string(shortened) + " notes sounding at the cut end there";
    run.Report("length", detail);
}

// A channel whose notes all lay beyond the cut is left out with what remains of it, as channels
// without notes are.
void LeaveOutSilentChannels(FitRun& run) {
    const std::map<int, int> notes = CountNotes(run.song);
    std::set<int> silent;
    std::map<int, int> events;
    for (const SongTrack& track : run.song.tracks) {
        for (const SongEvent& event : track.events) {
            if (event.IsChannel() && !notes.count(event.Channel())) {
                silent.insert(event.Channel());
                ++events[event.Channel()];
            }
        }
    }
    for (const int channel : silent) {
        run.Report("dropped", "channel " + std::to_string(channel) +
                                  " has no notes in the measures kept: its " +
                                  std::to_string(events[channel]) + " events left out");
        std::erase_if(run.result.channelMap,
                      [channel](const auto& placed) { return placed.second == channel; });
    }
    LeaveOutChannels(run.song, silent);
}

}  // namespace

void TrimMeasures(FitRun& run) {
    if (!run.options.measures)
        return;
    const std::uint64_t cut64 = std::uint64_t{*run.options.measures} * MeasureTicks(run.song);
    const auto cut = static_cast<std::uint32_t>(std::min<std::uint64_t>(cut64, 0x0FFFFFFF));
    int eventsCut = 0;
    int notesCut = 0;
    int shortened = 0;
    bool lengthCut = false;
    for (SongTrack& track : run.song.tracks) {
        lengthCut |= track.end > cut;
        track.end = std::min(track.end, cut);
        const auto after =
            std::stable_partition(track.events.begin(), track.events.end(),
                                  [cut](const SongEvent& e) { return e.time < cut; });
        std::vector<SongEvent> removed(after, track.events.end());
        track.events.erase(after, track.events.end());
        eventsCut += static_cast<int>(removed.size());
        notesCut += static_cast<int>(std::count_if(
            removed.begin(), removed.end(), [](const SongEvent& e) { return e.IsNoteOn(); }));
        for (const std::size_t index : UnclosedNotes(track)) {
            const SongEvent& on = track.events[index];
            const auto close =
                std::find_if(removed.begin(), removed.end(), [&](const SongEvent& e) {
                    return e.ClosesNote() && e.Channel() == on.Channel() && e.Key() == on.Key();
                });
            if (close == removed.end())
                continue;  // never released in the input either; not this step's doing
            track.events.push_back(NoteOffEvent(cut, on.Channel(), on.Key()));
            --eventsCut;
            if (close->time > cut)
                ++shortened;
        }
        track.Settle();
    }
    if (!lengthCut && eventsCut == 0)
        return;
    ReportCut(run, cut, eventsCut, notesCut, shortened);
    LeaveOutSilentChannels(run);
}

}  // namespace vantrel
