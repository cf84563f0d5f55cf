#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PatternFixtures.h"
#include "pattern/StyleImage.h"

namespace vantrel {
namespace {

using ::testing::HasSubstr;

test::Conversion& Bass() {
    static test::Conversion conversion(test::BassExample());
    return conversion;
}

StyleImageBuilder ImageWithFills(std::size_t fills) {
    StyleImageBuilder builder;
    const auto& p = Bass().products;
    EXPECT_TRUE(builder.Place(kIntroBlock, p.controlList, p.patternData));
    EXPECT_TRUE(builder.Place(kEndingBlock, p.controlList, p.patternData));
    for (std::size_t fill = 1; fill <= fills; ++fill) {
        EXPECT_TRUE(builder.Place(FillBlock(fill), p.controlList, p.patternData));
    }
    return builder;
}

TEST(StyleImage, BlocksSitInTheirOrderAndTheWrittenImageIs20474Bytes) {
    const auto builder = ImageWithFills(1);
    const auto image = builder.WrittenBytes();
    ASSERT_EQ(image.size(), 20474u);
    EXPECT_EQ(image[0], 0x20);
    EXPECT_EQ(image[2048], 0x20);
    EXPECT_EQ(image[4096], 0x20);
    EXPECT_EQ(image[4096 + 82], 0xFF);
    EXPECT_TRUE(std::all_of(image.begin() + 6144, image.end(), [](auto b) { return b == 0; }));
    EXPECT_TRUE(ValidateStyleImage(image)) << ValidateStyleImage(image).reason;
    EXPECT_TRUE(ValidateStyleImage(builder.Buffer()));
    EXPECT_TRUE(ValidateStyleImage(ImageWithFills(8).WrittenBytes()));
}

TEST(StyleImage, BlockCapacityRefusesWhatWouldBeCutOff) {
    StyleImageBuilder builder;
    const std::vector<std::uint8_t> list(82, 1);
    EXPECT_TRUE(builder.Place(kIntroBlock, list, std::vector<std::uint8_t>(2048 - 82, 2)));
    EXPECT_FALSE(builder.Place(kEndingBlock, list, std::vector<std::uint8_t>(2049 - 82, 2)));
    // The last 6 bytes of the eighth Fill block are never sent.
    EXPECT_EQ(StyleBlockCapacity(FillBlock(8)), 2042u);
    EXPECT_TRUE(builder.Place(FillBlock(8), list, std::vector<std::uint8_t>(2042 - 82, 2)));
    EXPECT_FALSE(builder.Place(FillBlock(8), list, std::vector<std::uint8_t>(2043 - 82, 2)));
    EXPECT_FALSE(builder.Place(kStyleBlockCount, {}, {}));
    EXPECT_EQ(builder.Buffer()[FillBlock(8) * 2048], 1);  // a refused place changes nothing
}

TEST(StyleImage, MalformedImagesAreRefusedWithTheirBlock) {
    EXPECT_THAT(ValidateStyleImage(std::vector<std::uint8_t>(20000)).reason, HasSubstr("20000"));
    EXPECT_THAT(ValidateStyleImage(std::vector<std::uint8_t>(20474)).reason,
                HasSubstr("Intro: block is empty"));

    auto corrupt = [](std::size_t offset, std::uint8_t value) {
        const auto builder = ImageWithFills(2);
        std::vector<std::uint8_t> bytes(builder.Buffer().begin(), builder.Buffer().end());
        bytes[offset] = value;
        return ValidateStyleImage(bytes).reason;
    };
    EXPECT_THAT(corrupt(2048 + 80, 0x28), HasSubstr("Ending"));        // size field
    EXPECT_THAT(corrupt(2048 + 11, 0x05), HasSubstr("channel mask"));  // mask vs offsets
    EXPECT_THAT(corrupt(4096 + 10, 7), HasSubstr("Fill 1: pattern kind"));
    EXPECT_THAT(corrupt(6144 + 24 + 4, 3), HasSubstr("Fill 2: channel 10"));
    EXPECT_THAT(corrupt(6144 + 500, 1), HasSubstr("after the pattern data"));
    EXPECT_THAT(corrupt(8192 + 7, 1), HasSubstr("Fill 3"));  // stray bytes in an unused Fill
    EXPECT_THAT(corrupt(82 + 17, 0x1B), HasSubstr("Intro: channel 12"));
}

}  // namespace
}  // namespace vantrel
