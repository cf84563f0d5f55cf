#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "midi/ByteWriter.h"
#include "midi/CMidiReader.h"

namespace vantrel::test {

// A file image with a correct header and one "MTrk" chunk per track, each written as hex.
inline std::vector<std::uint8_t> SmfImage(std::uint16_t format, std::uint16_t division,
                                          const std::vector<std::string>& tracks) {
    ByteWriter out;
    out.Append(Hex("4D 54 68 64 00 00 00 06"));
    out.U16BE(format);
    out.U16BE(static_cast<std::uint16_t>(tracks.size()));
    out.U16BE(division);
    for (const std::string& track : tracks) {
        const auto data = Hex(track);
        out.Append(Hex("4D 54 72 6B"));
        out.U32BE(static_cast<std::uint32_t>(data.size()));
        out.Append(data);
    }
    return out.Take();
}

inline std::vector<std::uint8_t> SmfImage(std::uint16_t format, std::uint16_t division,
                                          std::initializer_list<std::string> tracks) {
    return SmfImage(format, division, std::vector<std::string>(tracks));
}

struct ParseOutcome {
    int header = -1;
    bool tracks = false;
};

inline ParseOutcome LoadAndParse(CMidiReader& reader, std::vector<std::uint8_t> image) {
    reader.LoadImage(std::move(image));
    ParseOutcome outcome;
    outcome.header = reader.ParseHeader();
    outcome.tracks = reader.ParseTracks();
    return outcome;
}

}  // namespace vantrel::test
