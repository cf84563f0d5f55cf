// Track encoding of CMidiPattern: the channel rules, the pattern records of a track, its channel
// settings and the length of every sounding note.
#include <array>
#include <span>
#include <vector>

#include "common/UserPrompt.h"
#include "pattern/CMidiPattern.h"
#include "pattern/PatternTexts.h"

namespace vantrel {

namespace {

// The written forms hold a delta in 3 bytes and a note length in 2 (7 bits a byte).
inline constexpr std::uint32_t kMaxWrittenDelta = (1u << 21) - 1;
inline constexpr std::uint32_t kMaxWrittenNoteLength = (1u << 14) - 1;

int ChannelOf(std::uint8_t status) {
    return (status & 0x0F) + 1;
}

bool IsRecordedController(std::uint8_t status, std::uint8_t controller) {
    if (status == 0xB9 && controller == 4)
        return true;  // drum channel pedal hi-hat
    switch (controller) {
        case 1:
        case 6:
        case 11:
        case 64:
        case 66:
        case 67:
        case 93:
        case 100:
        case 101:
            return true;
        default:
            return false;
    }
}

// 17 pan levels: 0..126 in steps of 8, and 16 for hard right.
std::uint8_t PanLevel(std::uint8_t value) {
    return value >= 127 ? 16 : static_cast<std::uint8_t>(value / 8);
}

bool HasStatusBitInData(std::span<const std::uint8_t> data) {
    for (const std::uint8_t byte : data) {
        if (byte & 0x80u)
            return true;
    }
    return false;
}

}  // namespace

bool CMidiPattern::TakeTrackChannel(std::uint32_t track, int& channel) {
    channel = -1;
    for (const MidiEvent& event : TrackEvents(track)) {
        if (event.status >= 0xF0)
            continue;
        const int eventChannel = ChannelOf(event.status);
        bool mixed = channel != -1 && eventChannel != channel;
        if (channel == -1) {
            channel = eventChannel;
            const int slot = PatternSlotOfChannel(channel);
            if (slot >= 0) {
                const auto bit = static_cast<std::uint8_t>(1u << slot);
                mixed = (header_.channelMask & bit) != 0;
                header_.channelMask = static_cast<std::uint8_t>(header_.channelMask | bit);
            }
        }
        if (mixed) {
            errors_.push_back(
                FormatText("%s Track %d Error", InputText().c_str(), static_cast<int>(track)));
            prompt_.Message(kTextMixedTracks);
            return false;
        }
    }
    return true;
}

bool CMidiPattern::ConvertTrack(std::uint32_t track) {
    firstSeen_.fill(false);
    int channel = -1;
    if (!TakeTrackChannel(track, channel))
        return false;
    if (channel == -1)
        return true;  // a conductor track yields no records
    const int slot = PatternSlotOfChannel(channel);
    if (slot < 0) {
        errors_.emplace_back(kTextLowChannels);
        prompt_.Message(kTextLowChannels);
        return false;
    }
    const auto k = static_cast<std::size_t>(slot);
    std::uint32_t previousTime = 0;
    const auto events = TrackEvents(track);
    for (auto it = events.begin(); it != events.end(); ++it) {
        const MidiEvent event = *it;
        // A second End of Track would end the channel's pattern data early and leave the rest
        // as stray bytes the keyboard cannot read.
        if (event.IsEndOfTrack() && it.Index() + 1 != events.size()) {
            errors_.push_back(FormatText("%s Track %d Error End of Track at tick %u before the end",
                                         InputText().c_str(), static_cast<int>(track), event.time));
            productsRefused_ = true;
            continue;
        }
        RecordEvent(track, k, event, previousTime);
    }
    ComputeNoteLengths(track, k);
    return true;
}

void CMidiPattern::RecordEvent(std::uint32_t track, std::size_t slot, const MidiEvent& event,
                               std::uint32_t& previousTime) {
    const auto data = event.Data();
    const std::uint8_t data1 = data.size() > 0 ? data[0] : 0;
    const std::uint8_t data2 = data.size() > 1 ? data[1] : 0;
    // The file reader takes the bytes after a channel status as its data whatever they hold; in
    // the pattern data the keyboard would read a byte with bit 7 set as a new status and play
    // the rest of the channel wrongly, so such a file is refused.
    if (event.status < 0xF0 && HasStatusBitInData(data)) {
        errors_.push_back(FormatText("%s Track %d Error Data Byte 0x%.2x %.2x %.2x",
                                     InputText().c_str(), static_cast<int>(track), event.status,
                                     data1, data2));
        productsRefused_ = true;
        return;
    }
    switch (event.status & 0xF0) {
        case 0x80:
        case 0x90:
        case 0xE0:
            AppendRecord(track, slot, event, data1, data2, previousTime);
            return;
        case 0xA0:
            if (event.status == 0xA9 && data2 == 127) {
                AppendRecord(track, slot, event, data1, data2, previousTime);
            }
            return;
        case 0xB0:
            if (IsRecordedController(event.status, data1)) {
                AppendRecord(track, slot, event, data1, data2, previousTime);
            } else {
                TakeSetting(slot, event);
            }
            return;
        case 0xC0:
            TakeSetting(slot, event);
            return;
        default:
            break;
    }
    if (event.IsEndOfTrack()) {
        AppendRecord(track, slot, event, 0x2F, 0, previousTime);
    } else if (event.MetaType() == 0x21 && event.MetaPayload().size() == 1) {
        TakeSetting(slot, event);
    }
}

void CMidiPattern::TakeSetting(std::size_t slot, const MidiEvent& event) {
    const auto data = event.Data();
    ChannelBlock& block = header_.blocks[slot];
    auto take = [this](Setting setting) {
        if (firstSeen_[setting])
            return false;
        firstSeen_[setting] = true;
        return true;
    };
    if (event.status == 0xFF) {
        if (take(kPort))
            header_.ports[slot] = event.MetaPayload()[0];
        return;
    }
    if ((event.status & 0xF0) == 0xC0 && !data.empty()) {
        if (take(kProgram)) {
            block.program = static_cast<std::uint8_t>(slot < 2 ? data[0] + 128 : data[0]);
        }
        return;
    }
    if (data.size() < 2)
        return;
    const std::uint8_t value = data[1];
    switch (data[0]) {
        case 0:
            if (take(kBankMsb))
                block.bankMsb = value;
            break;
        case 7:
            if (take(kVolume))
                block.volume = value;
            break;
        case 10:
            if (take(kPan))
                block.pan = PanLevel(value);
            break;
        case 32:
            if (take(kBankLsb))
                block.bankLsb = value;
            break;
        case 91:
            if (take(kReverb))
                block.reverb = value;
            break;
        default:
            break;
    }
}

void CMidiPattern::AppendRecord(std::uint32_t track, std::size_t slot, const MidiEvent& event,
                                std::uint8_t data1, std::uint8_t data2,
                                std::uint32_t& previousTime) {
    // The division is 192 here (checked before), so times stay the file's own ticks; the
    // scaling is kept in 64 bits so no product can overflow.
    const auto scale = [this](std::uint32_t ticks) {
        return static_cast<std::uint32_t>(std::uint64_t{ticks} * 192u / Division());
    };
    PatternRecord record;
    record.time = scale(event.time);
    record.status = event.status;
    record.data1 = data1;
    record.data2 = data2;
    const std::uint32_t delta = record.time - scale(previousTime);
    const std::string path = InputText();
    if (delta > kMaxQuantity) {
        errors_.push_back(
            event.status == 0xFF
                ? FormatText("%s Track %d Error 0xFF 2F 00", path.c_str(), static_cast<int>(track))
                : FormatText("%s Track %d Error 0x%.2x %.2x %.2x", path.c_str(),
                             static_cast<int>(track), event.status, data1, data2));
        productsRefused_ = true;
    } else if (delta > kMaxWrittenDelta) {
        errors_.push_back(FormatText("%s Track %d Error Delta Too Long 0x%.2x %.2x %.2x",
                                     path.c_str(), static_cast<int>(track), event.status, data1,
                                     data2));
        productsRefused_ = true;
    } else {
        record.delta = ReversedQuantity(delta);
    }
    previousTime = event.time;
    records_[slot].push_back(record);
}

void CMidiPattern::ComputeNoteLengths(std::uint32_t track, std::size_t slot) {
    std::vector<PatternRecord>& records = records_[slot];
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // Each sounding note on is closed by the first later note off (or note on with velocity 0)
    // of its key; repeated note ons of a key in between all wait for that same record.
    std::vector<std::size_t> closer(records.size(), kNone);
    std::array<std::vector<std::size_t>, 256> waiting;  // by note number
    for (std::size_t i = 0; i < records.size(); ++i) {
        const PatternRecord& r = records[i];
        const std::uint8_t kind = r.status & 0xF0;
        if (kind != 0x80 && kind != 0x90)
            continue;
        auto& open = waiting[r.data1];
        if (kind == 0x90 && r.data2 != 0) {
            open.push_back(i);
            continue;
        }
        for (std::size_t on : open)
            closer[on] = i;
        open.clear();
    }
    const std::string path = InputText();
    const int trackNumber = static_cast<int>(track);
    for (std::size_t i = 0; i < records.size(); ++i) {
        PatternRecord& r = records[i];
        if ((r.status & 0xF0) != 0x90 || r.data2 == 0)
            continue;
        if (closer[i] == kNone) {
            errors_.push_back(FormatText("%s Track %d Error Back Find 0x9N %.2x %.2x", path.c_str(),
                                         trackNumber, r.status, r.data1));
            prompt_.Message(kTextNoteOffError);
            continue;
        }
        const std::uint32_t length = records[closer[i]].time - r.time;
        if (length > kMaxQuantity) {
            errors_.push_back(FormatText("%s Track %d Error Back Convert 0x%.2x %.2x %.2x",
                                         path.c_str(), trackNumber, r.status, r.data1, r.data2));
            productsRefused_ = true;
        } else if (length > kMaxWrittenNoteLength) {
            errors_.push_back(FormatText("%s Track %d Error Note Too Long 0x%.2x %.2x %.2x",
                                         path.c_str(), trackNumber, r.status, r.data1, r.data2));
            productsRefused_ = true;
        } else {
            r.noteLength = ReversedQuantity(length);
        }
    }
}

}  // namespace vantrel
