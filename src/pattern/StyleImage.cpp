#include "pattern/StyleImage.h"

#include <algorithm>

#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"

namespace vantrel {

std::string StyleBlockName(std::size_t block) {
    if (block == kIntroBlock)
        return "Intro";
    if (block == kEndingBlock)
        return "Ending";
    return "Fill " + std::to_string(block - 1);
}

StyleImageBuilder::StyleImageBuilder() : buffer_(kStyleBufferSize, 0) {}

bool StyleImageBuilder::Place(std::size_t block, std::span<const std::uint8_t> controlList,
                              std::span<const std::uint8_t> patternData) {
    if (block >= kStyleBlockCount)
        return false;
    if (controlList.size() + patternData.size() > StyleBlockCapacity(block))
        return false;
    const auto start = buffer_.begin() + static_cast<std::ptrdiff_t>(block * kStyleBlockSize);
    std::fill(start, start + static_cast<std::ptrdiff_t>(kStyleBlockSize), 0);
    const auto afterList = std::copy(controlList.begin(), controlList.end(), start);
    std::copy(patternData.begin(), patternData.end(), afterList);
    return true;
}

std::span<const std::uint8_t> StyleImageBuilder::WrittenBytes() const {
    return std::span<const std::uint8_t>(buffer_).first(kStyleWrittenSize);
}

std::span<const std::uint8_t> StyleBlockBytes(std::span<const std::uint8_t> image,
                                              std::size_t block) {
    const std::size_t start = block * kStyleBlockSize;
    if (block >= kStyleBlockCount || start >= image.size())
        return {};
    return image.subspan(start, std::min(kStyleBlockSize, image.size() - start));
}

namespace {

std::string CheckEntry(const ControlListEntry& entry) {
    const PatternHeader& h = entry.header;
    if (h.kind > 3)
        return "pattern kind " + std::to_string(h.kind) + " is not 0 to 3";
    if (h.channelMask > 0x7F)
        return "channel mask has a bit above channel 16";
    if (entry.reserved != 0)
        return "control list byte 23 is not 0";
    for (std::size_t k = 0; k < kPatternChannelCount; ++k) {
        const ChannelBlock& b = h.blocks[k];
        const std::string channel = "channel " + std::to_string(PatternChannelOfSlot(k));
        if (b.channelIndex != PatternChannelOfSlot(k) - 1) {
            return channel + " block names channel " + std::to_string(b.channelIndex + 1);
        }
        if (b.partClass != (k < 2 ? 0 : 2))
            return channel + " block has a wrong part class";
        if (b.pan > 16)
            return channel + " pan level is above 16";
    }
    return {};
}

}  // namespace

std::string CheckStyleBlock(std::span<const std::uint8_t> block) {
    const auto entry = DecodeControlListEntry(block);
    if (!entry)
        return "block is shorter than a control list entry";
    if (std::string reason = CheckEntry(*entry); !reason.empty())
        return reason;
    const std::size_t end = kControlListEntrySize + entry->dataSize;
    if (end > block.size()) {
        return "size field " + std::to_string(entry->dataSize) + " runs past the block";
    }
    const auto decoded = DecodePatternData(block.subspan(kControlListEntrySize, entry->dataSize));
    if (!decoded.pattern)
        return decoded.error;
    if (decoded.pattern->ChannelMask() != entry->header.channelMask) {
        return "channel offsets do not match the channel mask";
    }
    const auto rest = block.subspan(end);
    if (std::any_of(rest.begin(), rest.end(), [](std::uint8_t b) { return b != 0; })) {
        return "non-zero bytes after the pattern data";
    }
    return {};
}

StyleImageVerdict ValidateStyleImage(std::span<const std::uint8_t> image) {
    StyleImageVerdict verdict;
    if (image.size() != kStyleWrittenSize && image.size() != kStyleBufferSize) {
        verdict.reason = "image is " + std::to_string(image.size()) + " bytes, not " +
                         std::to_string(kStyleWrittenSize) + " or " +
                         std::to_string(kStyleBufferSize);
        return verdict;
    }
    for (std::size_t block = 0; block < kStyleBlockCount; ++block) {
        const auto bytes = StyleBlockBytes(image, block);
        const bool empty =
            std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
        if (empty && block >= FillBlock(1))
            continue;
        const std::string reason = empty ? "block is empty" : CheckStyleBlock(bytes);
        if (!reason.empty()) {
            verdict.reason = StyleBlockName(block) + ": " + reason;
            return verdict;
        }
    }
    verdict.wellFormed = true;
    return verdict;
}

}  // namespace vantrel
