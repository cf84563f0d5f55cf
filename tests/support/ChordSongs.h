#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "midi/SmfWriter.h"

namespace vantrel::test {

// A 4/4 song at 192 ticks per quarter note with one triad a measure, each given as its root and
// third (4 for major, 3 for minor): the bass (channel 2) plays the root on the downbeat and the
// fifth on beat 3, the chords (channel 1) hold the triad, the drums (channel 10) play beats 1
// and 3.
inline SmfWriter ChordSong(const std::vector<std::pair<int, int>>& chords) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    // Each track written whole before the next is added: adding one moves the others.
    for (int part = 0; part < 3; ++part) {
        SmfTrack& track = writer.AddTrack();
        std::uint32_t at = 0;
        for (const auto& [root, third] : chords) {
            if (part == 0) {
                track.Note(at, 2, static_cast<std::uint8_t>(36 + root), 100, 360)
                    .Note(at + 384, 2, static_cast<std::uint8_t>(43 + root), 100, 360);
            } else if (part == 1) {
                for (int interval : {0, third, 7})
                    track.Note(at, 1, static_cast<std::uint8_t>(60 + root + interval), 90, 760);
            } else {
                track.Note(at, 10, 36, 100, 48).Note(at + 384, 10, 38, 100, 48);
            }
            at += 768;
        }
        track.EndOfTrack(at);
    }
    return writer;
}

}  // namespace vantrel::test
