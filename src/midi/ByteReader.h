#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vantrel {

// The one way outside bytes are read: a span and an offset. Every read checks the remaining
// length first and answers nullopt (consuming nothing) when the bytes are not there, so no
// parser can index past what it was given. Names say the byte order on the wire.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }

    // Moves to an absolute offset; false (and no move) when it lies beyond the end.
    bool Seek(std::size_t offset) {
        if (offset > data_.size()) return false;
        pos_ = offset;
        return true;
    }

    bool Skip(std::size_t count) {
        if (count > Remaining()) return false;
        pos_ += count;
        return true;
    }

    std::optional<std::uint8_t> Peek() const {
        if (AtEnd()) return std::nullopt;
        return data_[pos_];
    }

    std::optional<std::uint8_t> U8() {
        if (AtEnd()) return std::nullopt;
        return data_[pos_++];
    }

    std::optional<std::uint16_t> U16BE() {
        if (Remaining() < 2) return std::nullopt;
        const auto value = static_cast<std::uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return value;
    }

    std::optional<std::uint16_t> U16LE() {
        if (Remaining() < 2) return std::nullopt;
        const auto value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return value;
    }

    std::optional<std::uint32_t> U32BE() {
        if (Remaining() < 4) return std::nullopt;
        const std::uint32_t value = (std::uint32_t{data_[pos_]} << 24) |
                                    (std::uint32_t{data_[pos_ + 1]} << 16) |
                                    (std::uint32_t{data_[pos_ + 2]} << 8) | data_[pos_ + 3];
        pos_ += 4;
        return value;
    }

    std::optional<std::uint32_t> U32LE() {
        if (Remaining() < 4) return std::nullopt;
        const std::uint32_t value = data_[pos_] | (std::uint32_t{data_[pos_ + 1]} << 8) |
                                    (std::uint32_t{data_[pos_ + 2]} << 16) |
                                    (std::uint32_t{data_[pos_ + 3]} << 24);
        pos_ += 4;
        return value;
    }

    // A MIDI variable-length quantity: seven bits a byte, most significant group first, bit 7
    // set on every byte but the last. At most 4 bytes (values up to 0x0FFFFFFF); a fifth
    // continuation byte or a quantity that runs past the data answers nullopt and consumes
    // nothing.
    std::optional<std::uint32_t> Vlq() {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            if (pos_ + i >= data_.size()) return std::nullopt;
            const std::uint8_t byte = data_[pos_ + i];
            value = (value << 7) | (byte & 0x7Fu);
            if ((byte & 0x80u) == 0) {
                pos_ += i + 1;
                return value;
            }
        }
        return std::nullopt;
    }

    // A view of the next count bytes, consumed; nullopt when fewer remain.
    std::optional<std::span<const std::uint8_t>> Bytes(std::size_t count) {
        if (count > Remaining()) return std::nullopt;
        auto view = data_.subspan(pos_, count);
        pos_ += count;
        return view;
    }

    // A reader over the next count bytes (a chunk), consumed from this one; nullopt when fewer
    // remain.
    std::optional<ByteReader> Sub(std::size_t count) {
        auto view = Bytes(count);
        if (!view) return std::nullopt;
        return ByteReader(*view);
    }

    std::span<const std::uint8_t> Data() const { return data_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

}  // namespace vantrel
