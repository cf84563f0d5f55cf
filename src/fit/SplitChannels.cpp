// One track per channel, with the events that belong to the whole song in track 0.
#include <algorithm>
#include <map>

#include "fit/FitSteps.h"

namespace vantrel {

namespace {

// Channels of a track in the order of their first message.
std::vector<int> ChannelsOf(const SongTrack& track) {
    std::vector<int> channels;
    for (const SongEvent& event : track.events) {
        if (event.IsChannel() &&
            std::find(channels.begin(), channels.end(), event.Channel()) == channels.end()) {
            channels.push_back(event.Channel());
        }
    }
    return channels;
}

}  // namespace

void SplitChannels(FitRun& run) {
    std::vector<SongTrack>& source = run.song.tracks;
    if (source.empty())
        source.emplace_back();
    // tracks grows as channels appear, so track 0 is always reached by its index.
    std::vector<SongTrack> tracks(1);
    tracks[0].end = source[0].end;
    std::map<int, std::size_t> trackOfChannel;
    std::map<int, std::vector<std::size_t>> sourcesOfChannel;
    int songMetasMoved = 0;

    for (std::size_t s = 0; s < source.size(); ++s) {
        const SongTrack& from = source[s];
        const std::vector<int> channels = ChannelsOf(from);
        // A track of one channel stays whole; track 0 then also stays track 0.
        const bool keepWhole = channels.size() == 1;
        if (channels.size() > 1) {
            run.Report("split", (s == 0 && source.size() == 1 ? std::string("format 0")
                                                              : "track " + std::to_string(s)) +
                                    ": channels " + ChannelListText(channels) +
                                    " split into one track each");
        }
        for (const int channel : channels) {
            sourcesOfChannel[channel].push_back(s);
            if (trackOfChannel.count(channel))
                continue;
            if (s == 0 && keepWhole) {
                trackOfChannel[channel] = 0;
                continue;
            }
            trackOfChannel[channel] = tracks.size();
            tracks.emplace_back();
        }
        for (const SongEvent& event : from.events) {
            if (event.IsChannel()) {
                SongTrack& to = tracks[trackOfChannel[event.Channel()]];
                to.events.push_back(event);
                to.end = std::max(to.end, from.end);
            } else if (IsSongMeta(event) || channels.empty() || (s == 0 && !keepWhole)) {
                if (s != 0 && IsSongMeta(event))
                    ++songMetasMoved;
                tracks[0].events.push_back(event);
            } else if (event.IsMeta(0x21)) {
                // The port is a setting of every channel the track carries.
                for (const int channel : channels)
                    tracks[trackOfChannel[channel]].events.push_back(event);
            } else {
                tracks[trackOfChannel[channels.front()]].events.push_back(event);
            }
        }
        if (channels.empty())
            tracks[0].end = std::max(tracks[0].end, from.end);
    }
    for (const auto& [channel, sources] : sourcesOfChannel) {
        if (sources.size() < 2)
            continue;
        std::vector<int> numbers(sources.begin(), sources.end());
        run.Report("split", "channel " + std::to_string(channel) + " of tracks " +
                                ChannelListText(numbers) + " joined into one track");
    }
    if (songMetasMoved > 0) {
        run.Report("conductor", std::to_string(songMetasMoved) +
                                    " tempo, time signature and marker events moved into track 0");
    }
    for (SongTrack& track : tracks)
        track.Settle();
    run.song.tracks = std::move(tracks);
    run.song.format = 1;
}

}  // namespace vantrel
