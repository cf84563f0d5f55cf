#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "midi/SmfWriter.h"

namespace vantrel {

// One part turned back into a MIDI file, named after its role: "intro", "ending",
// "fill1".."fill8", or "pattern" for a control list and pattern data pair.
struct DecodedPart {
    std::string name;
    SmfWriter midi;
};

struct StyleDecodeResult {
    std::vector<DecodedPart> parts;
    std::vector<std::string> errors;  // why the input is not well formed
};

// A combined style image (20474 or 20480 bytes): every block that holds a part, in block order;
// all-zero Fill blocks are absent Fills and give nothing. An image that is not well formed gives
// no part, only the reason.
StyleDecodeResult DecodeStyleImage(std::span<const std::uint8_t> image);

// The first entry of a control list with the pattern data it describes.
StyleDecodeResult DecodePatternPair(std::span<const std::uint8_t> controlList,
                                    std::span<const std::uint8_t> patternData);

}  // namespace vantrel
