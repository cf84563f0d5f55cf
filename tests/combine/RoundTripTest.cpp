#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "CombineFixtures.h"
#include "ScriptedPrompt.h"
#include "combine/StyleDecode.h"
#include "common/ScopedTempDir.h"
#include "midi/CMidiReader.h"
#include "pattern/PatternCheck.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// channel, key, start, length, velocity
using Note = std::tuple<int, int, std::uint32_t, std::uint32_t, int>;

// Every sounding note of a file, paired with its release (note off or note on at velocity 0).
std::multiset<Note> NotesOf(const std::vector<std::uint8_t>& bytes) {
    CMidiReader reader;
    EXPECT_TRUE(reader.LoadImage(bytes));
    EXPECT_EQ(reader.ParseHeader(), 0);
    EXPECT_TRUE(reader.ParseTracks());
    std::multiset<Note> notes;
    for (std::uint32_t track = 0; track < reader.TrackCount(); ++track) {
        const auto events = reader.TrackEvents(track);
        for (std::size_t i = 0; i < events.size(); ++i) {
            const MidiEvent& on = events[i];
            if ((on.status & 0xF0) != 0x90 || on.Data()[1] == 0)
                continue;
            const auto off = std::find_if(
                events.begin() + static_cast<std::ptrdiff_t>(i) + 1, events.end(),
                [&](const MidiEvent& e) {
                    const int kind = e.status & 0xF0;
                    return e.status >= 0x80 && e.status < 0xF0 &&
                           (e.status & 0x0F) == (on.status & 0x0F) && e.Data()[0] == on.Data()[0] &&
                           (kind == 0x80 || (kind == 0x90 && e.Data()[1] == 0));
                });
            EXPECT_NE(off, events.end());
            if (off == events.end())
                continue;
            notes.insert(
                {(on.status & 0x0F) + 1, on.Data()[0], on.time, off->time - on.time, on.Data()[1]});
        }
    }
    return notes;
}

PatternProducts Convert(const fs::path& file) {
    test::ScriptedPrompt prompt;
    PatternProducts products = ConvertToProducts(file, prompt);
    EXPECT_TRUE(products.Passed())
        << file << ": " << (products.errors.empty() ? "" : products.errors.front());
    return products;
}

// Decoding the products of an example part and converting the result again gives the same
// products, so the decoded file carries the same notes and channel settings; and its notes are
// the source's notes.
TEST(RoundTrip, EveryExamplePartDecodesToTheSameNotesAndSettings) {
    ScopedTempDir temp;
    for (const std::string& name : test::ExampleParts()) {
        SCOPED_TRACE(name);
        const fs::path source = test::ExamplesFolder() / name;
        const PatternProducts products = Convert(source);
        const StyleDecodeResult decoded =
            DecodePatternPair(products.controlList, products.patternData);
        ASSERT_EQ(decoded.parts.size(), 1u);
        const fs::path again = temp.Path() / name;
        ASSERT_TRUE(decoded.parts[0].midi.Save(again));

        const PatternProducts reconverted = Convert(again);
        EXPECT_EQ(reconverted.controlList, products.controlList);
        EXPECT_EQ(reconverted.patternData, products.patternData);
        const auto sourceNotes = NotesOf(test::ReadBytes(source));
        EXPECT_FALSE(sourceNotes.empty());
        EXPECT_EQ(NotesOf(test::ReadBytes(again)), sourceNotes);
    }
}

TEST(RoundTrip, AStyleImageDecodesIntoItsPartsInBlockOrder) {
    test::ScriptedPrompt prompt;
    const PartConverter fromExamples = [](const fs::path& path, UserPrompt& p) {
        return ConvertToProducts(test::ExamplesFolder() / path.filename(), p);
    };
    const auto image = BuildStyleImage("/unused", test::ExampleParts(), prompt, fromExamples);
    ASSERT_TRUE(image);
    const StyleDecodeResult decoded = DecodeStyleImage(*image);
    EXPECT_TRUE(decoded.errors.empty());
    std::vector<std::string> names;
    for (const DecodedPart& part : decoded.parts)
        names.push_back(part.name);
    EXPECT_EQ(names, (std::vector<std::string>{"intro", "ending", "fill1", "fill2", "fill3"}));
    ASSERT_EQ(decoded.parts.size(), 5u);
    EXPECT_EQ(NotesOf(decoded.parts[1].midi.Encode()),
              NotesOf(test::ReadBytes(test::ExamplesFolder() / "ending.mid")));
}

TEST(RoundTrip, AnImageThatIsNotWellFormedGivesNoPart) {
    std::vector<std::uint8_t> image(20474, 0);
    const StyleDecodeResult empty = DecodeStyleImage(image);
    EXPECT_TRUE(empty.parts.empty());
    ASSERT_EQ(empty.errors.size(), 1u);
    EXPECT_NE(empty.errors[0].find("Intro"), std::string::npos);
    image.resize(100);
    EXPECT_FALSE(DecodeStyleImage(image).errors.empty());
}

}  // namespace
}  // namespace vantrel
