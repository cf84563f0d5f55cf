#pragma once

#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace vantrel {

// Appends fields to a growing byte vector; the counterpart of ByteReader for files and messages
// this program writes. Names say the byte order on the wire.
class ByteWriter {
public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16BE(std::uint16_t value) {
        U8(static_cast<std::uint8_t>(value >> 8));
        U8(static_cast<std::uint8_t>(value));
    }
    void U16LE(std::uint16_t value) {
        U8(static_cast<std::uint8_t>(value));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32BE(std::uint32_t value) {
        U16BE(static_cast<std::uint16_t>(value >> 16));
        U16BE(static_cast<std::uint16_t>(value));
    }
    void U32LE(std::uint32_t value) {
        U16LE(static_cast<std::uint16_t>(value));
        U16LE(static_cast<std::uint16_t>(value >> 16));
    }
    // The MIDI variable-length quantity, most significant group first (values up to 0x0FFFFFFF).
    void Vlq(std::uint32_t value) {
        std::uint8_t groups[5];
        int count = 0;
        do {
            groups[count++] = static_cast<std::uint8_t>(value & 0x7Fu);
            value >>= 7;
        } while (value != 0 && count < 5);
        while (count > 1) {
            U8(static_cast<std::uint8_t>(groups[--count] | 0x80u));
        }
        U8(groups[0]);
    }
    void Append(const std::uint8_t* data, std::size_t size) {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    template <typename Range>
    void Append(const Range& range) {
        bytes_.insert(bytes_.end(), std::begin(range), std::end(range));
    }

    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace vantrel
