#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi/ByteReader.h"

namespace vantrel::test {

// A 16-bit PCM WAV file read back: its format and its samples, frames interleaved.
struct WavSound {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::vector<std::int16_t> samples;

    std::size_t Frames() const { return channels == 0 ? 0 : samples.size() / channels; }
    double Seconds() const { return sampleRate == 0 ? 0 : double(Frames()) / sampleRate; }
};

// Walks the RIFF chunks through the bounds-checked reader; nothing when the bytes are not a
// 16-bit PCM WAV file.
inline std::optional<WavSound> ReadWav(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    const auto riff = reader.Bytes(4);
    const auto size = reader.U32LE();
    const auto wave = reader.Bytes(4);
    if (!riff || !size || !wave || std::string(riff->begin(), riff->end()) != "RIFF" ||
        std::string(wave->begin(), wave->end()) != "WAVE") {
        return std::nullopt;
    }
    WavSound sound;
    bool haveFormat = false;
    while (reader.Remaining() >= 8) {
        const auto id = reader.Bytes(4);
        const auto length = reader.U32LE();
        if (!id || !length)
            return std::nullopt;
        const std::string name(id->begin(), id->end());
        auto chunk = reader.Sub(std::min<std::size_t>(*length, reader.Remaining()));
        if (!chunk)
            return std::nullopt;
        if (name == "fmt ") {
            const auto format = chunk->U16LE();
            const auto channels = chunk->U16LE();
            const auto rate = chunk->U32LE();
            (void)chunk->Skip(6);
            const auto bits = chunk->U16LE();
            if (!format || !bits || (*format != 1 && *format != 0xFFFE) || *bits != 16)
                return std::nullopt;
            sound.channels = channels.value_or(0);
            sound.sampleRate = rate.value_or(0);
            haveFormat = true;
        } else if (name == "data" && haveFormat) {
            while (chunk->Remaining() >= 2)
                sound.samples.push_back(static_cast<std::int16_t>(*chunk->U16LE()));
        }
        if (*length % 2 == 1)
            (void)reader.Skip(1);
    }
    if (!haveFormat || sound.channels == 0)
        return std::nullopt;
    return sound;
}

}  // namespace vantrel::test
