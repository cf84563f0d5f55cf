#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// The combined style image that a keyboard slot stores: ten 2048-byte blocks, one per pattern
// part, each holding the part's control list entry followed by its pattern data and zero bytes
// up to the block's end. Block order: 0 Intro, 1 Ending, 2..9 Fill 1..8. The image sent is the
// first 20474 bytes of the 20480-byte buffer, so the last Fill block loses its final 6 bytes.
inline constexpr std::size_t kStyleBlockSize = 2048;
inline constexpr std::size_t kStyleBlockCount = 10;
inline constexpr std::size_t kStyleBufferSize = kStyleBlockSize * kStyleBlockCount;  // 20480
inline constexpr std::size_t kStyleWrittenSize = 20474;
inline constexpr std::size_t kStyleMaxFills = 8;
inline constexpr std::size_t kIntroBlock = 0;
inline constexpr std::size_t kEndingBlock = 1;

// Block of Fill number fill (1..8).
constexpr std::size_t FillBlock(std::size_t fill) {
    return 1 + fill;
}

// Bytes of a block that reach the keyboard: 2048, or 2042 for the last Fill block.
constexpr std::size_t StyleBlockCapacity(std::size_t block) {
    const std::size_t start = block * kStyleBlockSize;
    if (start >= kStyleWrittenSize)
        return 0;
    const std::size_t end = start + kStyleBlockSize;
    return (end > kStyleWrittenSize ? kStyleWrittenSize : end) - start;
}

// "Intro", "Ending", "Fill 1" .. "Fill 8".
std::string StyleBlockName(std::size_t block);

// Builds an image in a zero-filled buffer.
class StyleImageBuilder {
  public:
    StyleImageBuilder();

    // Copies the control list and then the pattern data to the start of the block. False, and
    // the block left as it was, when the block does not exist or the two together exceed what
    // of the block reaches the keyboard (StyleBlockCapacity).
    bool Place(std::size_t block, std::span<const std::uint8_t> controlList,
               std::span<const std::uint8_t> patternData);

    // The 20474 bytes that are written and sent.
    std::span<const std::uint8_t> WrittenBytes() const;
    std::span<const std::uint8_t> Buffer() const { return buffer_; }

  private:
    std::vector<std::uint8_t> buffer_;
};

// The bytes of one block present in an image of 20474 or 20480 bytes (fewer for the last
// block of a 20474-byte image; empty when the image is shorter).
std::span<const std::uint8_t> StyleBlockBytes(std::span<const std::uint8_t> image,
                                              std::size_t block);

struct StyleImageVerdict {
    bool wellFormed = false;
    std::string reason;  // why not, naming the block; empty when well formed
    explicit operator bool() const { return wellFormed; }
};

// Whether a block holds a well-formed part: a sane control list entry whose size field matches
// pattern data that decodes to its end with its channel offsets matching the entry's mask, and
// zero bytes after it. Empty reason when it does.
std::string CheckStyleBlock(std::span<const std::uint8_t> block);

// An image is well formed when it is 20474 or 20480 bytes long, the Intro and Ending blocks hold
// well-formed parts and every Fill block is either all zero or a well-formed part.
StyleImageVerdict ValidateStyleImage(std::span<const std::uint8_t> image);

}  // namespace vantrel
