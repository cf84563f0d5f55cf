#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "fit/FitSong.h"

namespace vantrel {

// Where the measures of a song lie, from the time signatures of its track 0. A time signature
// starts a new measure where it stands; before the first one the song counts in 4/4.
class MeasureMap {
  public:
    struct Signature {
        std::uint32_t tick = 0;
        std::uint32_t firstMeasure = 1;  // the measure it starts, counted from 1
        std::uint32_t measureTicks = 768;
        std::uint8_t numerator = 4;
        std::uint8_t denominatorPower = 2;
    };

    explicit MeasureMap(const Song& song);

    // The tick measure (from 1) starts at, clamped to what a MIDI file's times can hold.
    std::uint32_t StartOf(std::uint32_t measure) const;
    // The measure (from 1) tick lies in.
    std::uint32_t MeasureAt(std::uint32_t tick) const;
    // The signature in force at tick.
    const Signature& SignatureAt(std::uint32_t tick) const;
    // The first measure after from's up to to (both from 1) where another time signature takes
    // over; nothing when the measures share one.
    std::optional<std::uint32_t> ChangeInside(std::uint32_t from, std::uint32_t to) const;

    const std::vector<Signature>& Signatures() const { return signatures_; }

  private:
    std::vector<Signature> signatures_;
};

}  // namespace vantrel
