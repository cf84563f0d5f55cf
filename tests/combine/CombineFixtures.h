#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "combine/StyleBuild.h"
#include "midi/SmfWriter.h"
#include "pattern/ControlListEntry.h"

namespace vantrel::test {

inline std::filesystem::path ExamplesFolder() {
    return std::filesystem::path(VANTREL_EXAMPLES_DIR);
}

inline const std::vector<std::string>& ExampleParts() {
    static const std::vector<std::string> parts = {"intro.mid", "fill1.mid", "fill2.mid",
                                                   "fill3.mid", "ending.mid"};
    return parts;
}

// A one-bar bass pattern at 192 ticks per quarter note with the given tempo and time signature.
inline SmfWriter BarPattern(std::uint32_t microsecondsPerQuarter = 500000,
                            std::uint8_t numerator = 4, std::uint8_t denominatorPower = 2) {
    SmfWriter writer(1, 192);
    writer.AddTrack()
        .TimeSignature(0, numerator, denominatorPower)
        .Tempo(0, microsecondsPerQuarter)
        .EndOfTrack(768);
    writer.AddTrack().Note(0, 12, 36, 100, 180).Note(384, 12, 43, 90, 180).EndOfTrack(768);
    return writer;
}

// Stands in for the converter: products of chosen sizes per file name, filled with a byte that
// tells the parts apart; a name without products fails the check.
struct FakeConverter {
    struct Sizes {
        std::size_t controlList;
        std::size_t patternData;
        std::uint8_t fill;
    };
    std::map<std::string, Sizes> parts;
    std::vector<std::filesystem::path> converted;

    void Add(const std::string& name, std::size_t total, std::uint8_t fill) {
        parts[name] = {kControlListEntrySize, total - kControlListEntrySize, fill};
    }

    PartConverter Function() {
        return [this](const std::filesystem::path& path, UserPrompt&) {
            converted.push_back(path);
            PatternProducts products;
            const auto it = parts.find(path.filename().string());
            if (it == parts.end()) {
                products.errors.push_back(path.string() + " Init Error:1");
                return products;
            }
            products.controlList.assign(it->second.controlList, it->second.fill);
            products.patternData.assign(it->second.patternData, it->second.fill);
            return products;
        };
    }
};

}  // namespace vantrel::test
