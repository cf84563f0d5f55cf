// The readers of the keyboard's formats on arbitrary bytes: a control list entry, pattern data
// (and the MIDI file made from it) and the style image validator, on the bytes as given and
// placed into an image of the written size.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"
#include "pattern/PatternToMidi.h"
#include "pattern/StyleImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto entry = vantrel::DecodeControlListEntry(bytes);
    const auto decoded = vantrel::DecodePatternData(bytes);
    if (entry && decoded.pattern) {
        vantrel::PatternToMidi(*entry, *decoded.pattern).Encode();
    }
    vantrel::ValidateStyleImage(bytes);
    std::vector<std::uint8_t> image(vantrel::kStyleWrittenSize, 0);
    std::copy_n(bytes.begin(), std::min(size, image.size()), image.begin());
    vantrel::ValidateStyleImage(image);
    // The same bytes as the Ending block behind a valid-looking empty Intro slot.
    std::vector<std::uint8_t> ending(vantrel::kStyleWrittenSize, 0);
    std::copy_n(bytes.begin(), std::min(size, vantrel::kStyleBlockSize),
                ending.begin() + vantrel::kEndingBlock * vantrel::kStyleBlockSize);
    vantrel::ValidateStyleImage(ending);
    return 0;
}
