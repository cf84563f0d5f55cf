#include "play/PerformanceMidi.h"

#include <array>
#include <cmath>
#include <vector>

#include "music/Chord.h"

namespace vantrel::play {

SmfWriter PerformanceToMidi(const Performance& performance) {
    SmfWriter writer(1, static_cast<std::uint16_t>(kPerformanceTicksPerQuarter));
    SmfTrack& conductor = writer.AddTrack();
    const PlayedMeasure* previous = nullptr;
    for (const PlayedMeasure& measure : performance.measures) {
        if (previous == nullptr || previous->timeSignature != measure.timeSignature) {
            conductor.TimeSignature(measure.startTick, measure.timeSignature & 0x0F,
                                    static_cast<std::uint8_t>(measure.timeSignature >> 4));
        }
        if (previous == nullptr || previous->bpm != measure.bpm) {
            conductor.Tempo(measure.startTick,
                            static_cast<std::uint32_t>(std::lround(60000000.0 / measure.bpm)));
        }
        conductor.Text(measure.startTick, 0x06, music::ChordName(measure.chord));
        previous = &measure;
    }
    conductor.EndOfTrack(performance.endTick);

    std::array<std::vector<const TimedMessage*>, 16> byChannel;
    for (const TimedMessage& event : performance.events)
        byChannel[static_cast<std::size_t>(event.Channel() - 1)].push_back(&event);
    for (const auto& events : byChannel) {
        if (events.empty())
            continue;
        SmfTrack& track = writer.AddTrack();
        for (const TimedMessage* event : events) {
            const auto bytes = event->Bytes();
            track.Raw(event->tick, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        }
        track.EndOfTrack(performance.endTick);
    }
    return writer;
}

}  // namespace vantrel::play
