// --measures: a range of measures stays. What was in force at its start (tempo, time signature,
// programs, controllers, bends) moves to tick 0; notes sounding across either edge are cut there.
#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "fit/FitSteps.h"
#include "fit/MeasureMap.h"
#include "fit/NotePairing.h"

namespace vantrel {

namespace {

struct CutCounts {
    int eventsCut = 0;
    int notesCut = 0;
    int shortenedAtEnd = 0;
    int shortenedAtStart = 0;
    int settingsMoved = 0;
};

std::string MeasureRangeText(const FitOptions& options) {
    if (options.firstMeasure == 1)
        return "the first " + std::to_string(*options.measures) + " measures";
    return "measures " + std::to_string(options.firstMeasure) + " to " +
           std::to_string(*options.measures);
}

void ReportCut(FitRun& run, std::uint32_t start, std::uint32_t end, const CutCounts& counts) {
    std::string detail = "kept " + MeasureRangeText(run.options) + " (ticks " +
                         std::to_string(start) + " to " + std::to_string(end) + "): cut " +
                         std::to_string(counts.eventsCut) + " events, " +
                         std::to_string(counts.notesCut) + " of them notes";
    if (counts.settingsMoved > 0) {
        detail += "; " + std::to_string(counts.settingsMoved) +
                  " settings in force at the start moved to tick 0";
    }
    if (counts.shortenedAtStart > 0) {
        detail += "; " + std::to_string(counts.shortenedAtStart) +
                  " notes sounding at the start begin there";
    }
    if (counts.shortenedAtEnd > 0) {
        detail +=
            "; " + std::to_string(counts.shortenedAtEnd) + " notes sounding at the cut end there";
    }
    run.Report("length", detail);
}

// A channel whose notes all lay outside the range is left out with what remains of it, as
// channels without notes are.
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

// What a setting before the start replaces: the same kind on the same channel (and controller).
std::tuple<int, int, int> SettingKind(const SongEvent& event) {
    if (event.status == 0xFF)
        return {0xFF, event.data.empty() ? 0 : event.data[0], 0};
    if (event.status == 0xF0 || event.status == 0xF7)
        return {event.status, 0, 0};
    const int type = event.status & 0xF0;
    return {type, event.Channel(), type == 0xB0 ? event.Key() : 0};
}

// Removes what lies before start and moves the rest back by start. The latest of each setting
// before start stays at tick 0 (system-exclusive messages all stay, in order); a note sounding
// at start begins there with its velocity.
void CutStart(SongTrack& track, std::uint32_t start, CutCounts& counts) {
    std::vector<SongEvent> kept;
    std::map<std::tuple<int, int, int>, std::size_t> latest;
    std::vector<std::vector<std::size_t>> open(16 * 128);
    std::vector<SongEvent> settings;
    std::size_t before = 0;
    for (std::size_t i = 0; i < track.events.size(); ++i, before = i) {
        const SongEvent& event = track.events[i];
        // A note that ends right at start ends before the range.
        if (event.time > start || (event.time == start && !event.ClosesNote()))
            break;
        if (event.IsChannel()) {
            auto& waiting =
                open[static_cast<std::size_t>((event.Channel() - 1) * 128 + (event.Key() & 0x7F))];
            if (event.IsNoteOn()) {
                waiting.push_back(i);
                ++counts.notesCut;
                ++counts.eventsCut;
                continue;
            }
            if (event.ClosesNote() || (event.status & 0xF0) == 0xA0) {
                waiting.clear();
                ++counts.eventsCut;
                continue;
            }
        }
        const auto kind = SettingKind(event);
        if (event.status == 0xF0 || event.status == 0xF7) {
            settings.push_back(event);
        } else if (const auto found = latest.find(kind); found != latest.end()) {
            settings[found->second] = event;
            ++counts.eventsCut;
        } else {
            latest[kind] = settings.size();
            settings.push_back(event);
        }
    }
    // A setting that start itself changes again is not needed at tick 0.
    std::vector<bool> replaced(settings.size(), false);
    for (std::size_t i = before; i < track.events.size() && track.events[i].time == start; ++i) {
        const SongEvent& event = track.events[i];
        if (event.IsNoteOn() || event.ClosesNote() || event.status == 0xF0 || event.status == 0xF7)
            continue;
        if (const auto found = latest.find(SettingKind(event)); found != latest.end())
            replaced[found->second] = true;
    }
    for (std::size_t i = 0; i < settings.size(); ++i) {
        SongEvent& setting = settings[i];
        if (replaced[i]) {
            ++counts.eventsCut;
            continue;
        }
        counts.settingsMoved += setting.time > 0 ? 1 : 0;
        setting.time = 0;
        kept.push_back(std::move(setting));
    }
    std::vector<std::size_t> sounding;
    for (const auto& waiting : open)
        sounding.insert(sounding.end(), waiting.begin(), waiting.end());
    std::sort(sounding.begin(), sounding.end());
    for (const std::size_t index : sounding) {
        SongEvent on = track.events[index];
        on.time = 0;
        kept.push_back(std::move(on));
        ++counts.shortenedAtStart;
        --counts.notesCut;
    }
    for (std::size_t i = 0; i < track.events.size(); ++i) {
        SongEvent& event = track.events[i];
        if (i < before)
            continue;
        event.time -= start;
        kept.push_back(std::move(event));
    }
    track.events = std::move(kept);
    track.end = track.end > start ? track.end - start : 0;
}

// Removes what lies at or after end; a note sounding there ends at end.
void CutEnd(SongTrack& track, std::uint32_t end, CutCounts& counts) {
    track.end = std::min(track.end, end);
    const auto after = std::stable_partition(track.events.begin(), track.events.end(),
                                             [end](const SongEvent& e) { return e.time < end; });
    std::vector<SongEvent> removed(after, track.events.end());
    track.events.erase(after, track.events.end());
    counts.eventsCut += static_cast<int>(removed.size());
    counts.notesCut += static_cast<int>(std::count_if(
        removed.begin(), removed.end(), [](const SongEvent& e) { return e.IsNoteOn(); }));
    for (const std::size_t index : UnclosedNotes(track)) {
        const SongEvent& on = track.events[index];
        const auto close = std::find_if(removed.begin(), removed.end(), [&](const SongEvent& e) {
            return e.ClosesNote() && e.Channel() == on.Channel() && e.Key() == on.Key();
        });
        if (close == removed.end())
            continue;  // never released in the input either; not this step's doing
        track.events.push_back(NoteOffEvent(end, on.Channel(), on.Key()));
        --counts.eventsCut;
        if (close->time > end)
            ++counts.shortenedAtEnd;
    }
    track.Settle();
}

}  // namespace

void TrimMeasures(FitRun& run) {
    if (!run.options.measures)
        return;
    const MeasureMap measures(run.song);
    const std::uint32_t first = run.options.firstMeasure;
    if (const auto change = measures.ChangeInside(first, *run.options.measures)) {
        const auto& signature = measures.SignatureAt(measures.StartOf(*change));
        run.Refuse("the time signature changes to " + std::to_string(signature.numerator) + "/" +
                   std::to_string(1 << signature.denominatorPower) + " in measure " +
                   std::to_string(*change) + ", inside " + MeasureRangeText(run.options) +
                   "; a pattern has one time signature");
        return;
    }
    const std::uint32_t start = measures.StartOf(first);
    const std::uint32_t end = measures.StartOf(*run.options.measures + 1);
    if (start > 0 && start >= run.song.EndTime()) {
        run.Refuse("the song has " + std::to_string(measures.MeasureAt(run.song.EndTime())) +
                   " measures; measure " + std::to_string(first) + " is beyond its end");
        return;
    }
    CutCounts counts;
    bool lengthCut = start > 0;
    for (SongTrack& track : run.song.tracks) {
        if (start > 0)
            CutStart(track, start, counts);
        lengthCut |= track.end > end - start;
        CutEnd(track, end - start, counts);
    }
    if (!lengthCut && counts.eventsCut == 0)
        return;
    ReportCut(run, start, end, counts);
    LeaveOutSilentChannels(run);
}

}  // namespace vantrel
