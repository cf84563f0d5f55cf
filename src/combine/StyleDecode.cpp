#include "combine/StyleDecode.h"

#include <algorithm>
#include <cctype>

#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"
#include "pattern/PatternToMidi.h"
#include "pattern/StyleImage.h"

namespace vantrel {

namespace {

// "intro", "ending", "fill1".."fill8": the block's name in lower case without blanks.
std::string BlockPartName(std::size_t block) {
    std::string name;
    for (char c : StyleBlockName(block)) {
        if (c != ' ')
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

void DecodePart(const std::string& name, std::span<const std::uint8_t> controlList,
                std::span<const std::uint8_t> patternData, StyleDecodeResult& result) {
    const auto entry = DecodeControlListEntry(controlList);
    if (!entry) {
        result.errors.push_back(name + ": the control list is shorter than one entry");
        return;
    }
    const auto decoded = DecodePatternData(patternData);
    if (!decoded.pattern) {
        result.errors.push_back(name + ": " + decoded.error);
        return;
    }
    result.parts.push_back({name, PatternToMidi(*entry, *decoded.pattern)});
}

}  // namespace

StyleDecodeResult DecodeStyleImage(std::span<const std::uint8_t> image) {
    StyleDecodeResult result;
    const StyleImageVerdict verdict = ValidateStyleImage(image);
    if (!verdict) {
        result.errors.push_back(verdict.reason);
        return result;
    }
    for (std::size_t block = 0; block < kStyleBlockCount; ++block) {
        const auto bytes = StyleBlockBytes(image, block);
        // A well-formed image holds a part in every block that is not all zero.
        if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; })) {
            continue;
        }
        const auto entry = DecodeControlListEntry(bytes);
        DecodePart(BlockPartName(block), bytes,
                   bytes.subspan(kControlListEntrySize, entry->dataSize), result);
    }
    return result;
}

StyleDecodeResult DecodePatternPair(std::span<const std::uint8_t> controlList,
                                    std::span<const std::uint8_t> patternData) {
    StyleDecodeResult result;
    DecodePart("pattern", controlList, patternData, result);
    return result;
}

}  // namespace vantrel
