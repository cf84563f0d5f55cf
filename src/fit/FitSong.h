#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

class SmfWriter;

// One event of a song being fitted, with its absolute time. data holds what follows the status
// byte as the file reader keeps it: a meta event's type and then its payload, the raw bytes of
// a system-exclusive event.
struct SongEvent {
    std::uint32_t time = 0;
    std::uint8_t status = 0;
    std::vector<std::uint8_t> data;

    bool IsChannel() const { return status < 0xF0; }
    // 1..16 for a channel message.
    int Channel() const { return (status & 0x0F) + 1; }
    bool IsMeta(std::uint8_t type) const {
        return status == 0xFF && !data.empty() && data[0] == type;
    }
    std::uint8_t Key() const { return data.empty() ? 0 : data[0]; }
    bool IsNoteOn() const { return (status & 0xF0) == 0x90 && data.size() > 1 && data[1] != 0; }
    // A note off, or a note on with velocity 0: what closes a sounding note of its key.
    bool ClosesNote() const {
        return (status & 0xF0) == 0x80 ||
               ((status & 0xF0) == 0x90 && data.size() > 1 && data[1] == 0);
    }
};

// A track without its End of Track event; end is the time that event stands at.
struct SongTrack {
    std::vector<SongEvent> events;
    std::uint32_t end = 0;

    // The channel of the track's first channel message; 0 when it has none.
    int FirstChannel() const;
    // Events sorted by time, equal times keeping their order; end no earlier than the last.
    void Settle();
};

struct Song {
    std::uint16_t division = 192;
    std::uint16_t format = 1;
    std::vector<SongTrack> tracks;

    // The time of the latest event or End of Track of any track.
    std::uint32_t EndTime() const;
};

// Removes every channel message of the channels, and the tracks other than track 0 that are
// left empty.
void LeaveOutChannels(Song& song, const std::set<int>& channels);

// Note ons that sound (velocity above 0) per channel.
std::map<int, int> CountNotes(const Song& song);

// The song as a format 1 file at its division, every track closed by End of Track.
SmfWriter ToSmf(const Song& song);

// A note event for channel (1..16): 0x80 with velocity 64.
SongEvent NoteOffEvent(std::uint32_t time, int channel, std::uint8_t key);

// Song metas: events that belong to the whole song, not to a channel.
bool IsSongMeta(const SongEvent& event);

// "1, 2, 10"
std::string ChannelListText(const std::vector<int>& channels);

}  // namespace vantrel
