#include <gtest/gtest.h>

#include "MidiImages.h"
#include "common/ScopedTempDir.h"
#include "midi/CMidiFile.h"

namespace vantrel {
namespace {

using test::SmfImage;

struct Tempo {
    std::int32_t bpm;
    double tick;
    bool operator==(const Tempo&) const = default;
};
struct Signature {
    std::int32_t denominator;
    std::int32_t numerator;
    double tick;
    bool operator==(const Signature&) const = default;
};

std::vector<Tempo> TemposOf(const CMidiFile& file) {
    std::vector<Tempo> out;
    for (const auto& entry : file.Tempos())
        out.push_back({entry.bpm, entry.tick});
    return out;
}

std::vector<Signature> SignaturesOf(const CMidiFile& file) {
    std::vector<Signature> out;
    for (const auto& entry : file.TimeSignatures()) {
        out.push_back({entry.denominator, entry.numerator, entry.tick});
    }
    return out;
}

constexpr const char* kTempo120 = "FF 51 03 07 A1 20";
constexpr const char* kFourFour = "FF 58 04 04 02 18 08";

TEST(CMidiFile, TempoEntriesFollowTheTimeSignatureInEitherOrder) {
    CMidiFile file;
    for (const std::string& track : {std::string("00 ") + kTempo120 + " 00 " + kFourFour,
                                     std::string("00 ") + kFourFour + " 00 " + kTempo120}) {
        ASSERT_TRUE(file.LoadImage(SmfImage(0, 192, {track + " 00 FF 2F 00"})));
        EXPECT_EQ(TemposOf(file), (std::vector<Tempo>{{120, 0}})) << track;
        EXPECT_EQ(SignaturesOf(file), (std::vector<Signature>{{4, 4, 0}})) << track;
    }
}

TEST(CMidiFile, LaterTemposAndTicksAccumulateFromTheFirstDelta) {
    CMidiFile file;
    ASSERT_TRUE(file.LoadImage(SmfImage(
        0, 192, {"05 FF 58 04 06 03 18 08  0A FF 51 03 06 1A 80  83 00 FF 51 03 09 27 C0"})));
    EXPECT_EQ(SignaturesOf(file), (std::vector<Signature>{{8, 6, 5}}));
    EXPECT_EQ(TemposOf(file), (std::vector<Tempo>{{150, 15}, {100, 15 + 384}}));
}

TEST(CMidiFile, TempoAndSignatureCarryOverBetweenTracks) {
    CMidiFile file;
    ASSERT_TRUE(file.LoadImage(
        SmfImage(1, 192, {std::string("00 ") + kTempo120, "", std::string("10 ") + kFourFour})));
    EXPECT_EQ(TemposOf(file), (std::vector<Tempo>{{120, 16}}));

    // A tempo without any time signature leaves Tempos empty.
    ASSERT_TRUE(file.LoadImage(SmfImage(0, 192, {std::string("00 ") + kTempo120})));
    EXPECT_TRUE(file.Tempos().empty());
}

TEST(CMidiFile, SkipsEventsByTheirOwnRules) {
    CMidiFile file;
    // SysEx honours its length even over an F7 inside; program change has one data byte, also
    // under running status; End of Track ends the scan even with bytes after it.
    ASSERT_TRUE(file.LoadImage(SmfImage(0, 192,
                                        {"00 F0 03 F7 01 02  00 F0 03 7E 7F F7  00 C0 05 00 06"
                                         "  00 FF 03 02 41 42  00 FF 58 04 03 02 18 08"
                                         "  00 FF 2F 00  00 FF 51 03 07 A1 20"})));
    EXPECT_EQ(SignaturesOf(file), (std::vector<Signature>{{4, 3, 0}}));
    EXPECT_TRUE(file.Tempos().empty());

    // A data byte without running status or an unknown system status ends only that track.
    ASSERT_TRUE(file.LoadImage(SmfImage(1, 192,
                                        {"00 3C 00 FF 51 03 07 A1 20", "00 F4 00 FF 51 03 07 A1 20",
                                         std::string("00 ") + kFourFour})));
    EXPECT_EQ(SignaturesOf(file), (std::vector<Signature>{{4, 4, 0}}));
    EXPECT_TRUE(file.Tempos().empty());
}

TEST(CMidiFile, MalformedTempoAndSignatureEventsAreIgnored) {
    CMidiFile file;
    ASSERT_TRUE(file.LoadImage(SmfImage(0, 192,
                                        {"00 FF 58 01 04  00 FF 58 04 03 1F 18 08"
                                         "  00 FF 51 02 07 A1  00 FF 51 03 00 00 00"
                                         "  00 FF 58 04 80 03 18 08"})));
    // Signed numerator; nothing from the short, oversized or zero events.
    EXPECT_EQ(SignaturesOf(file), (std::vector<Signature>{{8, -128, 0}}));
    EXPECT_TRUE(file.Tempos().empty());
}

TEST(CMidiFile, StructuralFaultsFailTheLoad) {
    CMidiFile file;
    auto image = SmfImage(0, 192, {std::string("00 ") + kFourFour});
    auto longHeader = image;
    longHeader[7] = 7;
    EXPECT_FALSE(file.LoadImage(longHeader));
    auto missingTrack = image;
    missingTrack[11] = 2;
    EXPECT_FALSE(file.LoadImage(missingTrack));
    auto pastEnd = image;
    pastEnd[21] += 1;
    EXPECT_FALSE(file.LoadImage(pastEnd));
    EXPECT_FALSE(file.LoadImage(SmfImage(0, 192, {"81 82"})));  // first delta cut off
    // Trailing bytes, format 2 and an empty chunk are not judged.
    image.push_back(0);
    image[9] = 2;
    EXPECT_TRUE(file.LoadImage(image));
    EXPECT_TRUE(file.LoadImage(SmfImage(0, 192, {""})));
}

TEST(CMidiFile, EmptyOrMissingFilesKeepThePreviousLists) {
    ScopedTempDir dir;
    CMidiFile file;
    ASSERT_TRUE(file.LoadImage(SmfImage(0, 192, {std::string("00 ") + kFourFour})));
    test::WriteBytes(dir.Path() / "empty.mid", {});
    EXPECT_FALSE(file.Load(dir.Path() / "empty.mid"));
    EXPECT_FALSE(file.Load(dir.Path() / "missing.mid"));
    EXPECT_EQ(file.TimeSignatures().size(), 1u);
    test::WriteBytes(dir.Path() / "song.mid", SmfImage(0, 192, {std::string("00 ") + kTempo120}));
    EXPECT_TRUE(file.Load(dir.Path() / "song.mid"));
    EXPECT_TRUE(file.TimeSignatures().empty());
}

}  // namespace
}  // namespace vantrel
