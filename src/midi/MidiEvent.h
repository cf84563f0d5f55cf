#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

// One parsed MIDI event with its absolute time, as a reader hands it out: a small value whose
// data bytes stay in the reader (the file image, or the reader's copy of a meta event), valid
// until that reader is reset or loads another file.
//
// Data bytes by status: channel messages hold their one or two data bytes; F0/F7 hold the raw
// bytes after the status up to and including the first F7 (the length quantity of the file is
// not decoded and is part of the data); other system statuses hold the bytes their length
// quantity announces; a meta event (FF) holds the meta type followed by the payload.
class MidiEvent {
  public:
    MidiEvent() = default;
    MidiEvent(std::uint32_t eventTime, std::uint8_t eventStatus, std::span<const std::uint8_t> data)
        : time(eventTime),
          length(static_cast<std::uint32_t>(data.size())),
          status(eventStatus),
          data_(data.data()) {}

    std::uint32_t time = 0;    // ticks from the start of the track
    std::uint32_t length = 0;  // number of data bytes
    std::uint8_t status = 0;   // the status in force (running status stored explicitly)

    std::span<const std::uint8_t> Data() const { return {data_, length}; }

    bool IsMeta() const { return status == 0xFF && length >= 1; }
    // Meta type of a meta event; 0 for anything else.
    std::uint8_t MetaType() const { return IsMeta() ? data_[0] : 0; }
    // Meta payload (data without the type byte); empty for anything else.
    std::span<const std::uint8_t> MetaPayload() const {
        return IsMeta() ? Data().subspan(1) : std::span<const std::uint8_t>{};
    }
    // FF 2F with an empty payload.
    bool IsEndOfTrack() const { return IsMeta() && length == 1 && data_[0] == 0x2F; }

  private:
    const std::uint8_t* data_ = nullptr;
};

}  // namespace vantrel
