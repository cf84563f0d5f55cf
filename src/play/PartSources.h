#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "play/PlayPart.h"

namespace vantrel::play {

// Parts to play, or why there are none. Nothing is written anywhere: a MIDI file is converted
// in a private temporary folder that is removed again, exactly as the import checks it.
struct PartLoad {
    std::vector<PlayPart> parts;
    // Why a part does not convert or decode, as the import says it: the first line names the
    // file ("intro.mid:  File is not supported!"), the lines after it say why.
    std::vector<std::string> problems;

    bool Ok() const { return problems.empty() && !parts.empty(); }
};

// A pattern MIDI file, converted as the keyboard would take it.
PartLoad LoadPatternFile(const std::filesystem::path& midiFile, PartKind kind);

// A control list (its first entry) and the pattern data it describes.
PartLoad LoadPatternPair(std::span<const std::uint8_t> controlList,
                         std::span<const std::uint8_t> patternData, const std::string& name,
                         PartKind kind);

// Which parts of a style image: "intro", "ending", "fill1".."fill8", or "all" (the Intro, every
// Fill present in order, then the Ending).
PartLoad LoadStyleImage(std::span<const std::uint8_t> image, const std::string& which);

// The part names a style image may be asked for, for help texts and checks.
bool IsStylePartName(const std::string& which);

// How a part of this name plays when nothing else says: "intro..." as an Intro, "ending..." as an
// Ending, anything else as a Fill (letter case ignored).
PartKind KindFromName(const std::string& name);

}  // namespace vantrel::play
