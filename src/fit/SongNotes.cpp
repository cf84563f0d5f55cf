#include "fit/SongNotes.h"

namespace vantrel {

std::vector<PlacedNote> PlacedNotes(const Song& song, bool drumsToo) {
    std::vector<PlacedNote> notes;
    for (std::size_t t = 0; t < song.tracks.size(); ++t) {
        const std::vector<SongEvent>& events = song.tracks[t].events;
        std::vector<std::vector<std::size_t>> open(16 * 128);
        for (std::size_t i = 0; i < events.size(); ++i) {
            const SongEvent& event = events[i];
            if (!event.IsChannel() || event.data.empty())
                continue;
            const int channel = event.Channel();
            auto& waiting =
                open[static_cast<std::size_t>((channel - 1) * 128 + (event.Key() & 0x7F))];
            if (event.IsNoteOn()) {
                waiting.push_back(i);
            } else if (event.ClosesNote()) {
                for (const std::size_t on : waiting) {
                    const bool melodic = channel >= 12;
                    if (!melodic && !drumsToo)
                        continue;
                    PlacedNote note;
                    note.timed.key = events[on].Key();
                    note.timed.start = events[on].time;
                    note.timed.length = event.time - events[on].time;
                    note.timed.role = channel < 10 || channel > 16 ? music::ChannelRole::ChordPart
                                                                   : music::RoleOfChannel(channel);
                    note.channel = channel;
                    note.track = t;
                    note.on = on;
                    note.off = i;
                    notes.push_back(note);
                }
                waiting.clear();
            }
        }
    }
    return notes;
}

void MoveNote(Song& song, const PlacedNote& note, int key) {
    auto& events = song.tracks[note.track].events;
    events[note.on].data[0] = static_cast<std::uint8_t>(key);
    events[note.off].data[0] = static_cast<std::uint8_t>(key);
}

}  // namespace vantrel
