#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "fit/FitMidi.h"
#include "midi/CMidiReader.h"
#include "midi/SmfWriter.h"

namespace vantrel::test {

// A fitted file read back, to look at its tracks.
inline std::unique_ptr<CMidiReader> ReadBack(const std::vector<std::uint8_t>& bytes) {
    auto reader = std::make_unique<CMidiReader>();
    reader->LoadImage(bytes);
    EXPECT_EQ(reader->ParseHeader(), kHeaderOk);
    EXPECT_TRUE(reader->ParseTracks());
    return reader;
}

// "status data1 data2 @time" of every channel message of a track, to compare with what a test
// expects.
inline std::vector<std::string> ChannelEvents(const CMidiReader& reader, std::uint32_t track) {
    std::vector<std::string> texts;
    for (const MidiEvent& event : reader.TrackEvents(track)) {
        if (event.status >= 0xF0)
            continue;
        char text[40];
        const auto data = event.Data();
        std::snprintf(text, sizeof text, "%.2X %.2X %.2X @%u", event.status, data[0],
                      data.size() > 1 ? data[1] : 0, event.time);
        texts.emplace_back(text);
    }
    return texts;
}

inline std::vector<std::string> Kinds(const FitResult& result) {
    std::vector<std::string> kinds;
    for (const FitChange& change : result.changes)
        kinds.push_back(change.kind);
    return kinds;
}

inline std::string Details(const FitResult& result) {
    std::string text;
    for (const FitChange& change : result.changes)
        text += change.kind + ": " + change.detail + "\n";
    return text;
}

inline FitResult Fit(const SmfWriter& writer, const FitOptions& options = {}) {
    return FitMidiImage(writer.Encode(), options);
}

}  // namespace vantrel::test
