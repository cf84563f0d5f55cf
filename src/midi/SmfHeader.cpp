#include "midi/SmfHeader.h"

#include <algorithm>

namespace vantrel {

bool ReadChunkTag(ByteReader& in, std::string_view tag) {
    const auto bytes = in.Bytes(4);
    return bytes && std::equal(bytes->begin(), bytes->end(), tag.begin(), tag.end());
}

SmfHeader ParseSmfHeader(std::span<const std::uint8_t> image) {
    SmfHeader header;
    ByteReader in(image);
    if (!ReadChunkTag(in, "MThd") || in.U32BE() != std::optional<std::uint32_t>(6))
        return header;
    // Byte 8, the high byte of the format field, is not examined.
    if (!in.Skip(1))
        return header;
    const auto format = in.U8();
    const auto trackCount = in.U16BE();
    const auto division = in.U16BE();
    if (!division)
        return header;
    header.format = *format;
    header.trackCount = *trackCount;
    header.division = *division;
    header.divisionRead = true;
    if (header.format > 1)
        return header;

    for (std::uint32_t i = 0; i < header.trackCount; ++i) {
        if (!ReadChunkTag(in, "MTrk"))
            return header;
        const std::size_t start = in.Position() - 4;
        const auto length = in.U32BE();
        if (!length || !in.Skip(*length))
            return header;
        header.chunks.push_back({start, *length});
    }
    if (in.AtEnd())
        header.code = kHeaderOk;
    return header;
}

}  // namespace vantrel
