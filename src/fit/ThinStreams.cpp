// --thin-bends: pitch bend, modulation and expression streams often take most of a pattern's
// bytes. Within each stream, an event that repeats the value last kept, or comes sooner than a
// thirty-second note after it, is left out, unless it is the last of a run (the value the run
// ends on is always kept).
#include <map>
#include <utility>

#include "fit/FitSteps.h"

namespace vantrel {

namespace {

constexpr std::uint32_t kThinSpacing = 24;  // a thirty-second note at 192 ticks per quarter

// The stream an event belongs to; 0 for events that are not thinned.
int StreamOf(const SongEvent& event) {
    if (!event.IsChannel() || event.data.size() < 2)
        return 0;
    const int channelKey = event.Channel() << 8;
    if ((event.status & 0xF0) == 0xE0)
        return channelKey | 0xFF;
    if ((event.status & 0xF0) == 0xB0 && (event.data[0] == 1 || event.data[0] == 11))
        return channelKey | event.data[0];
    return 0;
}

}  // namespace

void ThinStreams(FitRun& run) {
    if (!run.options.thinBends)
        return;
    std::map<int, int> thinned;  // by channel
    for (SongTrack& track : run.song.tracks) {
        std::vector<SongEvent>& events = track.events;
        // The next event of the same stream, to tell the last of a run.
        std::vector<std::size_t> next(events.size(), events.size());
        std::map<int, std::size_t> later;
        for (std::size_t i = events.size(); i-- > 0;) {
            const int stream = StreamOf(events[i]);
            if (stream == 0)
                continue;
            if (const auto found = later.find(stream); found != later.end())
                next[i] = found->second;
            later[stream] = i;
        }
        std::map<int, const SongEvent*> kept;
        std::vector<SongEvent> out;
        out.reserve(events.size());
        std::vector<bool> keep(events.size(), true);
        for (std::size_t i = 0; i < events.size(); ++i) {
            const int stream = StreamOf(events[i]);
            if (stream == 0)
                continue;
            const auto last = kept.find(stream);
            const bool endsRun =
                next[i] == events.size() || events[next[i]].time - events[i].time > kThinSpacing;
            const bool same = last != kept.end() && last->second->data == events[i].data;
            const bool soon =
                last != kept.end() && events[i].time - last->second->time < kThinSpacing;
            if (same || (soon && !endsRun)) {
                keep[i] = false;
                ++thinned[events[i].Channel()];
                continue;
            }
            kept[stream] = &events[i];
        }
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (keep[i])
                out.push_back(std::move(events[i]));
        }
        events = std::move(out);
    }
    for (const auto& [channel, count] : thinned) {
        run.Report("thinned", "channel " + std::to_string(channel) + ": left out " +
                                  std::to_string(count) +
                                  " pitch bend, modulation and expression events that repeated "
                                  "a value or came within a thirty-second note (--thin-bends)");
    }
}

}  // namespace vantrel
