#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "midi/ByteReader.h"

namespace vantrel {

// Answers of CMidiReader::ParseHeader.
inline constexpr int kHeaderOk = 0;
inline constexpr int kHeaderNoImage = 1;
inline constexpr int kHeaderNotUsable = 2;
inline constexpr int kHeaderOutOfMemory = 3;

// One "MTrk" chunk of a file image: where its tag starts and the data length it announces.
struct TrackChunk {
    std::size_t start = 0;
    std::uint32_t length = 0;

    std::size_t DataStart() const { return start + 8; }
};

struct SmfHeader {
    int code = kHeaderNotUsable;
    std::uint8_t format = 0;       // low byte of the format field
    std::uint16_t trackCount = 0;  // as announced
    std::uint16_t division = 0;
    bool divisionRead = false;       // the header was long enough to hold the division
    std::vector<TrackChunk> chunks;  // complete only when code is kHeaderOk
};

// Reads a 4-byte chunk tag and tells whether it is tag.
bool ReadChunkTag(ByteReader& in, std::string_view tag);

// Checks the header and the chunk structure of a whole file image: "MThd" with length 6,
// format 0 or 1, exactly the announced number of "MTrk" chunks, each wholly inside the image,
// and nothing after the last one. The chunk list grows with the chunks actually present, never
// from the announced count. Throws std::bad_alloc only when memory runs out.
SmfHeader ParseSmfHeader(std::span<const std::uint8_t> image);

}  // namespace vantrel
