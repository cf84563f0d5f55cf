#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "music/ChordChart.h"
#include "play/PlayPart.h"

namespace vantrel::play {

// Performance times count ticks at the pattern division, 192 per quarter note, from the start.
inline constexpr std::uint32_t kPerformanceTicksPerQuarter = 192;

// One channel message (1 to 3 bytes) at its tick.
struct TimedMessage {
    std::uint32_t tick = 0;
    std::array<std::uint8_t, 3> bytes{};
    std::uint8_t size = 0;

    std::span<const std::uint8_t> Bytes() const { return {bytes.data(), size}; }
    int Channel() const { return (bytes[0] & 0x0F) + 1; }  // 1..16
    bool IsNoteOn() const { return (bytes[0] & 0xF0) == 0x90 && bytes[2] != 0; }
    bool IsNoteOff() const {
        return (bytes[0] & 0xF0) == 0x80 || ((bytes[0] & 0xF0) == 0x90 && bytes[2] == 0);
    }
    bool operator==(const TimedMessage&) const = default;
};

// One measure as played: where it lies, the chord it follows and the part it comes from.
struct PlayedMeasure {
    std::uint32_t startTick = 0;
    std::uint32_t lengthTicks = 0;
    music::Chord chord;
    std::size_t chartIndex = 0;     // which measure of the chart gives the chord
    std::string part;               // the part's name
    std::uint32_t partMeasure = 0;  // the measure of the part's pattern that plays
    std::uint8_t timeSignature =
        0;  // as in the control list: denominator exponent x 16 | numerator
    double bpm = 120.0;
    double startSeconds = 0.0;  // from the start of the performance
};

// The timed MIDI events the keyboard would play: each part's channel settings (bank, program,
// volume, pan, reverb) first, then its notes moved onto the chart's chords, in time order
// (at one tick: settings, then releases, then the rest, then new notes).
struct Performance {
    std::vector<TimedMessage> events;
    std::vector<PlayedMeasure> measures;
    music::ChordChart chart;
    std::uint32_t endTick = 0;

    // Seconds from the start to tick, through the tempo of each measure.
    double SecondsAt(std::uint32_t tick) const;
    double DurationSeconds() const { return SecondsAt(endTick); }
    // The measure that holds tick; measures.size() at or after the end.
    std::size_t MeasureAt(std::uint32_t tick) const;
};

struct PerformanceOptions {
    std::optional<double> bpm;  // nothing: each part's own tempo
    int loops = 1;              // how many times a Fill goes over the chart
};

// A Fill plays max(pattern measures, chart measures) measures per loop: measure k plays the
// pattern's measure k mod P over the chart's chord k mod C. An Intro or an Ending plays its
// pattern once over the chart's first chord, moved as a whole. Channels 10 and 11 never move.
// Parts follow one another; an empty chart is the source chord alone.
Performance BuildPerformance(std::span<const PlayPart> parts, const music::ChordChart& chart,
                             const PerformanceOptions& options);

// The ticks of one measure in a control list's time signature (4/4: 768).
std::uint32_t MeasureTicks(std::uint8_t timeSignature);

// The controller value that gives a control list's pan level (0..16) back.
std::uint8_t PanControllerValue(std::uint8_t level);

}  // namespace vantrel::play
