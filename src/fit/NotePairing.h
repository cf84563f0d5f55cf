#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "fit/FitSong.h"

namespace vantrel {

// Sounding note ons of a track that nothing closes, paired as the converter pairs them: each
// sounding note on is closed by the first later note off (or note on with velocity 0) of its
// key on its channel. Indexes into track.events, in order.
inline std::vector<std::size_t> UnclosedNotes(const SongTrack& track) {
    std::vector<std::vector<std::size_t>> open(16 * 128);
    for (std::size_t i = 0; i < track.events.size(); ++i) {
        const SongEvent& event = track.events[i];
        if (!event.IsChannel())
            continue;
        auto& waiting =
            open[static_cast<std::size_t>((event.Channel() - 1) * 128 + (event.Key() & 0x7F))];
        if (event.IsNoteOn())
            waiting.push_back(i);
        else if (event.ClosesNote())
            waiting.clear();
    }
    std::vector<std::size_t> unclosed;
    for (const auto& waiting : open)
        unclosed.insert(unclosed.end(), waiting.begin(), waiting.end());
    std::sort(unclosed.begin(), unclosed.end());
    return unclosed;
}

}  // namespace vantrel
