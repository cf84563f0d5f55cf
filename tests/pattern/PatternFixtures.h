#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "midi/SmfWriter.h"
#include "pattern/PatternCheck.h"

namespace vantrel::test {

// A format 1 file at 192 ticks per quarter note whose track 0 holds tempo 500,000 (120 BPM),
// time signature 4/4 and End of Track at endTick; note tracks are added by the caller.
inline SmfWriter PatternFile(std::uint32_t endTick = 384, std::uint16_t division = 192) {
    SmfWriter writer(1, division);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(endTick);
    return writer;
}

// The two-note bass pattern used as the reference conversion.
inline SmfWriter BassExample() {
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Raw(0, Hex("9B 24 64"))
        .Raw(96, Hex("8B 24 40"))
        .Raw(192, Hex("9B 24 64"))
        .Raw(384, Hex("8B 24 40"))
        .EndOfTrack(384);
    return writer;
}

// Converts a file written from the writer into a temporary folder; the prompt records messages.
struct Conversion {
    ScopedTempDir folder;
    ScriptedPrompt prompt;
    PatternProducts products;

    explicit Conversion(const SmfWriter& writer, const std::string& name = "Song.mid") {
        Run(writer.Encode(), name);
    }
    explicit Conversion(const std::vector<std::uint8_t>& bytes,
                        const std::string& name = "Song.mid") {
        Run(bytes, name);
    }

    const std::vector<std::string>& Errors() const { return products.errors; }

  private:
    void Run(const std::vector<std::uint8_t>& bytes, const std::string& name) {
        const auto path = folder.Path() / name;
        WriteBytes(path, bytes);
        products = ConvertToProducts(path, prompt);
    }
};

}  // namespace vantrel::test
