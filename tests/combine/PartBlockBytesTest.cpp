#include <gtest/gtest.h>

#include "CombineFixtures.h"
#include "ScriptedPrompt.h"
#include "combine/CombineLists.h"
#include "combine/PartBlockBytes.h"
#include "combine/StoredStyleNote.h"
#include "common/GroupedNumber.h"
#include "common/ScopedTempDir.h"

namespace vantrel {
namespace {

TEST(PartBlockBytesTest, NumbersAreGroupedByThousands) {
    EXPECT_EQ(GroupedNumber(0), "0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(1312), "1,312");
    EXPECT_EQ(GroupedNumber(1234567), "1,234,567");
}

TEST(PartBlockBytesTest, EachEntryIsMeasuredAgainstWhatItsBlockCarries) {
    test::FakeConverter converter;
    converter.Add("fits.mid", 2042, 1);
    converter.Add("full.mid", 2048, 1);
    const auto measure = [&](const char* name, SubRepository sub, std::size_t position) {
        return MeasurePart(name, PartBlock(sub, position), converter.Function());
    };

    const PartBlockBytes intro = measure("full.mid", SubRepository::Intro, 0);
    EXPECT_TRUE(intro.Fits());
    EXPECT_EQ(BytesAgainstBlock(intro), "2,048 / 2,048");
    EXPECT_EQ(BytesAgainstBlock(measure("full.mid", SubRepository::Fill, 6)), "2,048 / 2,048");
    // The last 6 bytes of the eighth Fill's block never reach the keyboard.
    const PartBlockBytes eighth = measure("full.mid", SubRepository::Fill, 7);
    EXPECT_FALSE(eighth.Fits());
    EXPECT_EQ(BytesAgainstBlock(eighth), "2,048 / 2,042");
    EXPECT_TRUE(measure("fits.mid", SubRepository::Fill, 7).Fits());

    const PartBlockBytes refused = measure("refused.mid", SubRepository::Ending, 0);
    EXPECT_FALSE(refused.Fits());
    EXPECT_EQ(BytesAgainstBlock(refused), "- / 2,048");
}

TEST(PartBlockBytesTest, MeasuringAFileShowsNoneOfTheConvertersMessages) {
    ScopedTempDir folder;
    const auto file = folder.Path() / "no tempo.mid";
    SmfWriter writer(1, 192);
    writer.AddTrack().TimeSignature(0, 4, 2).EndOfTrack(768);
    writer.AddTrack().Note(0, 12, 36, 100, 180).EndOfTrack(768);
    test::WriteBytes(file, writer.Encode());
    // ConvertToProducts would tell a prompt "Tempo is required!"; there is none to tell.
    const PartBlockBytes bytes = MeasurePart(file, PartBlock(SubRepository::Intro, 0));
    EXPECT_FALSE(bytes.used.has_value());
    EXPECT_EQ(bytes.capacity, 2048u);
}

TEST(StoredStyleNoteTest, NamesEveryPartInBlockOrderWithItsBytes) {
    ScopedTempDir folder;
    CombineLists lists(folder.Path());
    for (SubRepository sub : kSubRepositories)
        std::filesystem::create_directories(lists.List(sub).FolderPath());
    test::WriteBytes(lists.List(SubRepository::Intro).FolderPath() / "in.mid",
                     test::BarPattern().Encode());
    test::WriteBytes(lists.List(SubRepository::Fill).FolderPath() / "f1.mid",
                     test::BarPattern().Encode());
    test::WriteBytes(lists.List(SubRepository::Ending).FolderPath() / "out.mid", {0});
    test::ScriptedPrompt quiet;
    lists.OnCombine(SubRepository::Intro, {"in.mid"}, quiet);
    lists.OnCombine(SubRepository::Fill, {"f1.mid"}, quiet);
    lists.OnCombine(SubRepository::Ending, {"out.mid"}, quiet);

    const std::string note = StoredStyleNote(lists, "at 10:02");
    const std::size_t bytes =
        *MeasurePart(lists.List(SubRepository::Intro).EntryPaths().front(), 0).used;
    EXPECT_EQ(note, "Stored by this program at 10:02:\nIntro: in.mid, " + GroupedNumber(bytes) +
                        " bytes\nEnding: out.mid\nFill 1: f1.mid, " + GroupedNumber(bytes) +
                        " bytes");
}

}  // namespace
}  // namespace vantrel
