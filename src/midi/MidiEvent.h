#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace vantrel {

// One parsed MIDI event with its absolute time. Up to seven data bytes live inside the record,
// so channel messages and short meta events cost no allocation of their own; longer data get an
// owned buffer.
//
// Data bytes by status: channel messages hold their one or two data bytes; F0/F7 hold the raw
// bytes after the status up to and including the first F7 (the length quantity of the file is
// not decoded and is part of the data); other system statuses hold the bytes their length
// quantity announces; a meta event (FF) holds the meta type followed by the payload.
class MidiEvent {
  public:
    static constexpr std::uint32_t kInlineCapacity = 7;

    MidiEvent() = default;
    MidiEvent(MidiEvent&&) noexcept = default;
    MidiEvent& operator=(MidiEvent&&) noexcept = default;
    MidiEvent(const MidiEvent&) = delete;
    MidiEvent& operator=(const MidiEvent&) = delete;

    std::uint32_t time = 0;    // ticks from the start of the track
    std::uint32_t length = 0;  // number of data bytes
    std::uint8_t status = 0;   // the status in force (running status stored explicitly)

    std::span<const std::uint8_t> Data() const {
        return {externalData_ ? externalData_.get() : inlineData_.data(), length};
    }

    // Stores head followed by tail as the data bytes and sets length (a meta event passes its
    // type byte as head and the payload as tail). May throw std::bad_alloc for long data.
    void SetData(std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail = {});

    bool IsMeta() const { return status == 0xFF && length >= 1; }
    // Meta type of a meta event; 0 for anything else.
    std::uint8_t MetaType() const { return IsMeta() ? Data()[0] : 0; }
    // Meta payload (data without the type byte); empty for anything else.
    std::span<const std::uint8_t> MetaPayload() const {
        return IsMeta() ? Data().subspan(1) : std::span<const std::uint8_t>{};
    }
    // FF 2F with an empty payload.
    bool IsEndOfTrack() const { return IsMeta() && length == 1 && Data()[0] == 0x2F; }

  private:
    std::array<std::uint8_t, kInlineCapacity> inlineData_{};
    std::unique_ptr<std::uint8_t[]> externalData_;
};

}  // namespace vantrel
