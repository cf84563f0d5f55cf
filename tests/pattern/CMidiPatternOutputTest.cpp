#include <gtest/gtest.h>

#include "PatternFixtures.h"
#include "pattern/CMidiPattern.h"

namespace vantrel {
namespace {

using test::BassExample;
using test::Conversion;
using test::Hex;

TEST(PatternOutput, BassExampleConvertsByteForByte) {
    Conversion c(BassExample());
    ASSERT_TRUE(c.Errors().empty()) << c.Errors().front();
    EXPECT_EQ(c.products.patternData,
              Hex("FF FF 00 00 00 00 10 00 00 00 00 00 00 00 00 00"
                  "00 9B 24 64 60  60 8B 24 40  60 9B 24 64 81 40  81 40 8B 24 40  00 FF"));
    EXPECT_EQ(c.products.controlList, Hex("20 20 20 20 20 20 20 20 00 24 00 04 78 00 01 00"
                                          "00 00 00 00 00 00 00 00"
                                          "80 64 08 40 09 00 00 00  80 64 08 40 0A 00 00 00"
                                          "00 64 08 40 0B 02 00 00  00 64 08 40 0C 02 00 00"
                                          "00 64 08 40 0D 02 00 00  00 64 08 40 0E 02 00 00"
                                          "00 64 08 40 0F 02 00 00  26 00"));
    EXPECT_TRUE(c.prompt.messages.empty());
}

TEST(PatternOutput, ProductsGoIntoTheOutputFolderNotBesideTheInput) {
    ScopedTempDir inputs;
    ScopedTempDir outputs;
    const auto input = inputs.Path() / "Song.mid";
    test::WriteBytes(input, BassExample().Encode());
    // A user's own style files beside the MIDI file must survive a conversion.
    test::WriteBytes(inputs.Path() / "Song.sty", {1, 2, 3});
    test::WriteBytes(inputs.Path() / "Song.dat", {4, 5});
    test::ScriptedPrompt prompt;
    CMidiPattern pattern(prompt, outputs.Path());
    pattern.AddInputFile(input);
    EXPECT_TRUE(pattern.Convert());
    EXPECT_TRUE(pattern.Errors().empty());
    EXPECT_EQ(pattern.ControlListPath(), outputs.Path() / "Song.dat");
    EXPECT_EQ(test::ReadBytes(outputs.Path() / "Song.sty").size(), 38u);
    EXPECT_EQ(test::ReadBytes(outputs.Path() / "Song.dat").size(), 82u);
    EXPECT_EQ(test::ReadBytes(inputs.Path() / "Song.sty"), Hex("01 02 03"));
    EXPECT_EQ(test::ReadBytes(inputs.Path() / "Song.dat"), Hex("04 05"));
}

TEST(PatternOutput, WithoutAFolderProductsStandBesideTheInput) {
    ScopedTempDir inputs;
    const auto input = inputs.Path() / "Swing.mid";
    test::WriteBytes(input, BassExample().Encode());
    test::ScriptedPrompt prompt;
    CMidiPattern pattern(prompt);
    pattern.AddInputFile(input);
    EXPECT_TRUE(pattern.Convert());
    EXPECT_TRUE(std::filesystem::exists(inputs.Path() / "Swing.dat"));
    EXPECT_TRUE(std::filesystem::exists(inputs.Path() / "Swing.sty"));
}

TEST(PatternOutput, UnwritableOutputFolderIsAnErrorNotASilentSuccess) {
    ScopedTempDir inputs;
    const auto input = inputs.Path() / "Song.mid";
    test::WriteBytes(input, BassExample().Encode());
    test::ScriptedPrompt prompt;
    CMidiPattern pattern(prompt, inputs.Path() / "missing" / "folder");
    pattern.AddInputFile(input);
    EXPECT_FALSE(pattern.Convert());
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Cannot Write Output Files"});
    EXPECT_FALSE(pattern.Errors().empty());
}

TEST(PatternOutput, ConvertWithoutOneInputWritesNothing) {
    test::ScriptedPrompt prompt;
    CMidiPattern none(prompt);
    EXPECT_FALSE(none.Convert());
    EXPECT_TRUE(prompt.shown.empty());

    // One pattern name serves one input; a second is refused before anything is written, and
    // the refusal is an error entry too, so callers that judge by the list see it.
    ScopedTempDir folder;
    test::WriteBytes(folder.Path() / "a.mid", BassExample().Encode());
    CMidiPattern two(prompt, folder.Path());
    two.AddInputFile(folder.Path() / "a.mid");
    two.AddInputFile(folder.Path() / "a.mid");
    EXPECT_FALSE(two.Convert());
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{"Number of File Names is less than that of Input files"});
    EXPECT_EQ(two.Errors().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "a.dat"));
}

TEST(PatternOutput, MissingInputIsAnErrorEntryOfTheCheck) {
    ScopedTempDir folder;
    test::ScriptedPrompt prompt;
    const auto products = ConvertToProducts(folder.Path() / "absent.mid", prompt);
    ASSERT_EQ(products.errors.size(), 1u);
    EXPECT_FALSE(products.Passed());
    EXPECT_TRUE(products.controlList.empty());
}

TEST(PatternOutput, OddChannelDataGetsOnePadByteAndRunningStatusIsWrittenOnce) {
    SmfWriter writer = test::PatternFile();
    // Two note ons in a row write the status once; velocity 0 gets no note length.
    writer.AddTrack()
        .Raw(0, Hex("99 24 64"))
        .Raw(0, Hex("99 26 64"))
        .Raw(48, Hex("99 24 00"))
        .Raw(48, Hex("99 26 00"))
        .EndOfTrack(48);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    // channel 10: 17 bytes from offset 16, so 33 bytes and one pad byte
    EXPECT_EQ(c.products.patternData,
              Hex("FF FF 10 00 00 00 00 00 00 00 00 00 00 00 00 00"
                  "00 99 24 64 30  00 26 64 30  30 24 00  00 26 00  00 FF  00"));
    EXPECT_EQ(c.products.controlList[80], 34);
}

TEST(PatternOutput, ChannelOffsetsFollowChannelOrderNotTrackOrder) {
    SmfWriter writer = test::PatternFile();
    writer.AddTrack().Note(0, 16, 60, 90, 96).EndOfTrack(96);
    writer.AddTrack().Note(0, 10, 36, 90, 96).EndOfTrack(96);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    const auto& data = c.products.patternData;
    // channel 10: 00 99 24 5A 60 60 89 24 40 00 FF = 11 bytes at 16, channel 16 at 27
    EXPECT_EQ(data[2], 16);
    EXPECT_EQ(data[14], 27);
    EXPECT_EQ(c.products.controlList[11], 0x41);
}

}  // namespace
}  // namespace vantrel
