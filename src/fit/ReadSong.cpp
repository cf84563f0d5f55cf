// Reading a file into the song to fit, with the refusals that no change can mend.
#include <algorithm>
#include <cstdio>

#include "fit/FitSteps.h"
#include "midi/CMidiReader.h"
#include "midi/MidiReadProblem.h"

namespace vantrel {

namespace {

bool HasStatusBitInData(std::span<const std::uint8_t> data) {
    return std::any_of(data.begin(), data.end(), [](std::uint8_t byte) { return byte & 0x80u; });
}

std::string EventText(const MidiEvent& event) {
    char text[64];
    const auto data = event.Data();
    std::snprintf(text, sizeof text, "%.2X %.2X %.2X at tick %u", event.status,
                  data.size() > 0 ? data[0] : 0, data.size() > 1 ? data[1] : 0, event.time);
    return text;
}

}  // namespace

void ReadSong(std::span<const std::uint8_t> image, FitRun& run) {
    CMidiReader reader;
    reader.LoadImage({image.begin(), image.end()});
    if (const int code = reader.ParseHeader(); code != kHeaderOk) {
        run.Refuse("not a Standard MIDI File of format 0 or 1 (header code " +
                   std::to_string(code) + ")");
        return;
    }
    if (reader.Division() & 0x8000u) {
        run.Refuse(
            "the file counts time in SMPTE frames, not in ticks per quarter note; the "
            "keyboard needs ticks per quarter note");
        return;
    }
    if (reader.Division() == 0) {
        run.Refuse("the file's division is 0 ticks per quarter note");
        return;
    }
    const bool allEnded = reader.ParseTracks();
    for (const TrackDamage& damage : reader.DamagedTracks()) {
        if (damage.EventsLost()) {
            run.Refuse(TrackDamageText(damage) + "; the rest of that track cannot be read");
            return;
        }
    }
    // At 192 ticks per quarter note times are kept as they are, and a file's delta times cannot
    // reach past this; other divisions are brought within it by the rescaling.
    constexpr std::uint32_t kLatestTick = 0x0FFFFFFF;
    if (reader.Division() == 192) {
        for (std::uint32_t t = 0; t < reader.TrackCount(); ++t) {
            const auto events = reader.TrackEvents(t);
            if (!events.empty() && events.back().time > kLatestTick) {
                run.Refuse("track " + std::to_string(t) + " runs to tick " +
                           std::to_string(events.back().time) +
                           ", longer than a MIDI file's times can hold");
                return;
            }
        }
    }
    run.song.division = reader.Division();
    run.song.format = reader.Format();
    for (std::uint32_t t = 0; t < reader.TrackCount(); ++t) {
        SongTrack& track = run.song.tracks.emplace_back();
        const auto events = reader.TrackEvents(t);
        for (auto it = events.begin(); it != events.end(); ++it) {
            const MidiEvent event = *it;
            track.end = std::max(track.end, event.time);
            if (event.IsEndOfTrack()) {
                if (it.Index() + 1 != events.size()) {
                    run.Report("repair", "track " + std::to_string(t) +
                                             ": left out an End of Track at tick " +
                                             std::to_string(event.time) + " before its end");
                }
                continue;
            }
            if (event.status < 0xF0 && HasStatusBitInData(event.Data())) {
                run.Report("dropped", "track " + std::to_string(t) + ": left out " +
                                          EventText(event) +
                                          ", a channel message with a data byte of 128 or more");
                continue;
            }
            if (event.status != 0xFF && event.status != 0xF0 && event.status != 0xF7 &&
                event.status >= 0xF0) {
                continue;  // system common and real-time bytes have no place in a file
            }
            const auto data = event.Data();
            track.events.push_back({event.time, event.status, {data.begin(), data.end()}});
        }
        if (!events.empty() && !events.back().IsEndOfTrack() && !allEnded) {
            run.Report("repair", "track " + std::to_string(t) +
                                     " does not end with End of Track: it ends at its last "
                                     "readable event");
        }
    }
}

}  // namespace vantrel
