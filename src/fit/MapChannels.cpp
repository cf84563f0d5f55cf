// Placing the song's channels onto the keyboard's accompaniment channels 10..16.
//
// The default rule: channel 10 stays the drum channel, and a channel already on 11..16 keeps its
// place. Every other channel, in the order of its first note, takes a free place in the order
// 12, 13, 14, 15, 16, 11, except that the one with the lowest mean pitch (the bass) takes 12 when
// 12 is free. Channel 11 comes last because the keyboard reads program changes there as
// percussion sets. --map pairs go first; --drop leaves channels out, and so does the rule for a
// channel that carries no notes.
#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "fit/FitSteps.h"

namespace vantrel {

namespace {

struct ChannelUse {
    int notes = 0;
    int events = 0;
    double pitchSum = 0;
    std::uint64_t firstNote = std::numeric_limits<std::uint64_t>::max();
    bool programChange = false;

    double MeanPitch() const { return notes ? pitchSum / notes : 128; }
};

std::map<int, ChannelUse> UseOfChannels(const Song& song) {
    std::map<int, ChannelUse> use;
    for (const SongTrack& track : song.tracks) {
        for (const SongEvent& event : track.events) {
            if (!event.IsChannel())
                continue;
            ChannelUse& channel = use[event.Channel()];
            ++channel.events;
            channel.programChange |= (event.status & 0xF0) == 0xC0;
            if (event.IsNoteOn()) {
                ++channel.notes;
                channel.pitchSum += event.Key();
                channel.firstNote = std::min<std::uint64_t>(channel.firstNote, event.time);
            }
        }
    }
    return use;
}

std::map<int, int> Placements(const std::map<int, ChannelUse>& use, const FitOptions& options,
                              std::vector<int>& unplaced) {
    std::map<int, int> placed;
    std::set<int> taken;
    for (const auto& [from, to] : options.channelMap) {
        if (use.count(from)) {
            placed[from] = to;
            taken.insert(to);
        }
    }
    std::vector<int> waiting;
    for (const auto& [channel, how] : use) {
        if (placed.count(channel))
            continue;
        if (channel >= 10 && !taken.count(channel)) {
            placed[channel] = channel;
            taken.insert(channel);
        } else {
            waiting.push_back(channel);
        }
    }
    std::stable_sort(waiting.begin(), waiting.end(),
                     [&](int a, int b) { return use.at(a).firstNote < use.at(b).firstNote; });
    if (!waiting.empty() && !taken.count(12)) {
        const auto bass = std::min_element(waiting.begin(), waiting.end(), [&](int a, int b) {
            return use.at(a).MeanPitch() < use.at(b).MeanPitch();
        });
        placed[*bass] = 12;
        taken.insert(12);
        waiting.erase(bass);
    }
    for (const int channel : waiting) {
        int place = 0;
        for (const int candidate : {13, 14, 15, 16, 12, 11}) {
            if (!taken.count(candidate)) {
                place = candidate;
                break;
            }
        }
        if (place == 0) {
            unplaced.push_back(channel);
            continue;
        }
        placed[channel] = place;
        taken.insert(place);
    }
    return placed;
}

}  // namespace

void MapChannels(FitRun& run) {
    std::map<int, ChannelUse> use = UseOfChannels(run.song);
    std::set<int> leaveOut;
    for (const int channel : run.options.dropChannels) {
        if (!use.count(channel))
            continue;
        leaveOut.insert(channel);
        run.Report("dropped", "channel " + std::to_string(channel) +
                                  " left out as asked: " + std::to_string(use[channel].notes) +
                                  " notes, " + std::to_string(use[channel].events) + " events");
    }
    for (const auto& [channel, how] : use) {
        if (how.notes == 0 && !leaveOut.count(channel)) {
            leaveOut.insert(channel);
            run.Report("dropped", "channel " + std::to_string(channel) + " carries no notes: its " +
                                      std::to_string(how.events) + " events left out");
        }
    }
    for (const int channel : leaveOut)
        use.erase(channel);
    LeaveOutChannels(run.song, leaveOut);

    std::vector<int> unplaced;
    const std::map<int, int> placed = Placements(use, run.options, unplaced);
    if (!unplaced.empty()) {
        std::vector<int> all;
        std::vector<std::pair<int, int>> byNotes;
        for (const auto& [channel, how] : use) {
            all.push_back(channel);
            if (channel != 10)
                byNotes.push_back({how.notes, channel});
        }
        std::sort(byNotes.begin(), byNotes.end());
        std::vector<int> fewest;
        for (std::size_t i = 0; i < unplaced.size(); ++i)
            fewest.push_back(byNotes[i].second);
        std::sort(fewest.begin(), fewest.end());
        run.result.dropSuggestion = fewest;
        std::string suggestion = ChannelListText(fewest);
        std::erase(suggestion, ' ');
        run.Refuse(std::to_string(all.size()) + " channels carry notes (" + ChannelListText(all) +
                   ") but the keyboard plays 7 (10 for drums, 11-16): leave some out with --drop, "
                   "e.g. --drop " +
                   suggestion + " (the channels with the fewest notes)");
        return;
    }
    for (const auto& [from, to] : placed) {
        run.result.channelMap[from] = to;
        if (from == to)
            continue;
        std::string detail = "channel " + std::to_string(from) + " to " + std::to_string(to);
        if (to == 12 && !run.options.channelMap.count(from) && from != 12)
            detail += " (bass: the lowest mean pitch)";
        if (to == 11 && use[from].programChange)
            detail += " (its program change now selects a percussion set, as on channel 11)";
        run.Report("channel", detail);
    }
    for (SongTrack& track : run.song.tracks) {
        for (SongEvent& event : track.events) {
            if (event.IsChannel()) {
                const int to = placed.at(event.Channel());
                event.status = static_cast<std::uint8_t>((event.status & 0xF0) | (to - 1));
            }
        }
    }
}

}  // namespace vantrel
