#pragma once

#include <cstdint>
#include <vector>

#include "TestFiles.h"

namespace vantrel::test {

// Two 90-byte songs whose notes track (track 1) cannot be read from its first event, each beside
// a conductor track with tempo and time signature: read as an empty track, they passed every
// check and lost all their notes.
inline constexpr const char* kConductorTrack =
    "4D 54 72 6B 00 00 00 13 00 FF 51 03 07 A1 20 00 FF 58 04 04 02 18 08 00 FF 2F 00";
inline constexpr const char* kSmfHeaderTwoTracks = "4D 54 68 64 00 00 00 06 00 01 00 02 00 C0";

// The first delta time is five bytes long: FF FF FF FF 7F.
inline std::vector<std::uint8_t> FiveByteDeltaSong() {
    return Hex(std::string(kSmfHeaderTwoTracks) + kConductorTrack +
               "4D 54 72 6B 00 00 00 29 FF FF FF FF 7F 90 3C 64 83 60 80 3C 40 00 90 3E 64 60 80 "
               "3E 40 00 90 40 64 60 80 40 40 00 90 41 64 60 80 41 40 00 FF 2F 00");
}

// The first event is 40 64 with no status byte before it.
inline std::vector<std::uint8_t> NoStatusSong() {
    return Hex(std::string(kSmfHeaderTwoTracks) + kConductorTrack +
               "4D 54 72 6B 00 00 00 29 00 40 64 83 60 80 40 40 00 90 3E 64 60 80 3E 40 00 90 "
               "41 64 60 80 41 40 81 00 C0 05 00 B0 0A 40 81 00 B0 07 64 00 FF 2F 00");
}

}  // namespace vantrel::test
