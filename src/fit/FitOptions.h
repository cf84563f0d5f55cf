#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "music/ChordChart.h"

namespace vantrel {

// What the user asks of a fit. Channels count from 1, as musicians number them.
struct FitOptions {
    std::optional<std::uint32_t> measures;  // keep measures up to this one (counted from 1)
    std::uint32_t firstMeasure = 1;         // and from this one
    std::optional<double> tempoBpm;         // used when the file has no tempo
    std::optional<std::uint8_t> numerator;  // used when the file has no time signature
    std::uint8_t denominatorPower = 2;      // with numerator: 2 for a quarter, 3 for an eighth
    std::map<int, int> channelMap;          // source channel -> 10..16
    std::set<int> dropChannels;             // source channels left out
    bool thinBends = false;                 // thin pitch bend and controller streams

    // The chords of the measures kept, one a measure, instead of detecting them (--chords).
    std::optional<music::ChordChart> chart;
    // Bass and chord parts of every measure moved onto the source chord (--source-chord).
    bool sourceChord = false;
    // Everything but the drums moved by one interval into C major or A minor (--key).
    struct KeyChoice {
        bool detect = true;  // --key auto
        music::PitchClass tonic = 0;
        bool minor = false;
    };
    std::optional<KeyChoice> key;
    bool minorAsC = false;  // a minor key goes to C minor rather than A minor
    bool reportChords = false;  // only find and report the chord of each measure

    // Chords are looked at only when one of these is asked for.
    bool ChordsWanted() const {
        return chart.has_value() || sourceChord || key.has_value() || reportChords;
    }
};

// Option texts as the command line takes them; each answers an error text, empty on success.
// "12=13,1=12"
std::string ParseChannelMap(const std::string& text, std::map<int, int>& map);
// "9,11"
std::string ParseChannelList(const std::string& text, std::set<int>& channels);
// "8" (the first 8 measures) or "5-8" (measures 5 to 8), for --measures.
std::string ParseMeasureRange(const std::string& text, FitOptions& options);
// "auto" or a key as a chord symbol names it: "G", "Em", "F#m", "Bb".
std::string ParseKeyChoice(const std::string& text, FitOptions& options);
// "6/8"
std::string ParseTimeSignature(const std::string& text, FitOptions& options);

}  // namespace vantrel
