#include "fit/FitSong.h"

#include <algorithm>

#include "midi/ByteWriter.h"
#include "midi/SmfWriter.h"

namespace vantrel {

int SongTrack::FirstChannel() const {
    for (const SongEvent& event : events) {
        if (event.IsChannel())
            return event.Channel();
    }
    return 0;
}

void SongTrack::Settle() {
    std::stable_sort(events.begin(), events.end(),
                     [](const SongEvent& a, const SongEvent& b) { return a.time < b.time; });
    if (!events.empty())
        end = std::max(end, events.back().time);
}

std::uint32_t Song::EndTime() const {
    std::uint32_t last = 0;
    for (const SongTrack& track : tracks) {
        last = std::max(last, track.end);
        for (const SongEvent& event : track.events)
            last = std::max(last, event.time);
    }
    return last;
}

void LeaveOutChannels(Song& song, const std::set<int>& channels) {
    for (SongTrack& track : song.tracks) {
        std::erase_if(track.events, [&](const SongEvent& event) {
            return event.IsChannel() && channels.count(event.Channel());
        });
    }
    std::vector<SongTrack> kept;
    for (std::size_t t = 0; t < song.tracks.size(); ++t) {
        if (t == 0 || !song.tracks[t].events.empty())
            kept.push_back(std::move(song.tracks[t]));
    }
    song.tracks = std::move(kept);
}

std::map<int, int> CountNotes(const Song& song) {
    std::map<int, int> notes;
    for (const SongTrack& track : song.tracks) {
        for (const SongEvent& event : track.events) {
            if (event.IsNoteOn())
                ++notes[event.Channel()];
        }
    }
    return notes;
}

SmfWriter ToSmf(const Song& song) {
    SmfWriter writer(1, song.division);
    for (const SongTrack& track : song.tracks) {
        SmfTrack& out = writer.AddTrack();
        for (const SongEvent& event : track.events) {
            ByteWriter bytes;
            bytes.U8(event.status);
            if (event.status == 0xFF) {
                bytes.U8(event.data[0]);
                bytes.Vlq(static_cast<std::uint32_t>(event.data.size() - 1));
                bytes.Append(event.data.data() + 1, event.data.size() - 1);
            } else {
                bytes.Append(event.data);
            }
            out.Raw(event.time, bytes.Take());
        }
        out.EndOfTrack(track.end);
    }
    return writer;
}

SongEvent NoteOffEvent(std::uint32_t time, int channel, std::uint8_t key) {
    return {time, static_cast<std::uint8_t>(0x80 | ((channel - 1) & 0x0F)), {key, 64}};
}

bool IsSongMeta(const SongEvent& event) {
    return event.IsMeta(0x51) || event.IsMeta(0x58) || event.IsMeta(0x06);
}

std::string ChannelListText(const std::vector<int>& channels) {
    std::string text;
    for (const int channel : channels) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(channel);
    }
    return text;
}

}  // namespace vantrel
