#include <gtest/gtest.h>

#include "TestFiles.h"
#include "midi/ByteReader.h"
#include "midi/ByteWriter.h"

namespace vantrel {
namespace {

TEST(ByteReader, ReadsFieldsInTheirWireOrder) {
    const auto bytes = test::Hex("12 34 12 34 01 02 03 04 01 02 03 04");
    ByteReader reader(bytes);
    EXPECT_EQ(reader.U16BE(), 0x1234);
    EXPECT_EQ(reader.U16LE(), 0x3412);
    EXPECT_EQ(reader.U32BE(), 0x01020304u);
    EXPECT_EQ(reader.U32LE(), 0x04030201u);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ByteReader, ShortReadsAnswerNothingAndConsumeNothing) {
    const auto bytes = test::Hex("01 02 03");
    ByteReader reader(bytes);
    EXPECT_FALSE(reader.U32BE());
    EXPECT_EQ(reader.Position(), 0u);
    EXPECT_FALSE(reader.Bytes(4));
    EXPECT_FALSE(reader.Skip(4));
    EXPECT_FALSE(reader.Seek(4));
    EXPECT_TRUE(reader.Seek(3));
    EXPECT_FALSE(reader.U8());
    EXPECT_FALSE(reader.Peek());
}

TEST(ByteReader, VlqStopsAtFourBytesAndAtTheEndOfData) {
    const auto four = test::Hex("FF FF FF 7F");
    ByteReader a(four);
    EXPECT_EQ(a.Vlq(), 0x0FFFFFFFu);

    const auto five = test::Hex("81 80 80 80 00");
    ByteReader b(five);
    EXPECT_FALSE(b.Vlq());
    EXPECT_EQ(b.Position(), 0u);

    const auto runsOff = test::Hex("81 80");
    ByteReader c(runsOff);
    EXPECT_FALSE(c.Vlq());
    EXPECT_EQ(c.Position(), 0u);
}

TEST(ByteWriter, VlqRoundTripsThroughTheReader) {
    for (std::uint32_t value : {0u, 1u, 127u, 128u, 200u, 16383u, 16384u, 2097151u, 2097152u,
                                0x0FFFFFFFu}) {
        ByteWriter writer;
        writer.Vlq(value);
        ByteReader reader(writer.Bytes());
        EXPECT_EQ(reader.Vlq(), value);
        EXPECT_TRUE(reader.AtEnd());
    }
    ByteWriter writer;
    writer.Vlq(200);
    EXPECT_EQ(writer.Bytes(), test::Hex("81 48"));
}

}  // namespace
}  // namespace vantrel
