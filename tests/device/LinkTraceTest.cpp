#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "device/LinkTrace.h"

namespace vantrel {
namespace {

const std::vector<std::uint8_t> kPacket = {0xF0, 0x00, 0x21, 0x3D, 0x0A, 0xF7};

std::string Kind(const std::string& line) {
    return line.substr(11, 5);
}

TEST(LinkTrace, RecordsOnlyWhileOnAndKeepsTheNewestLinesWithinItsBound) {
    LinkTrace trace;
    trace.Outgoing(kPacket);
    trace.Event("before the start");
    EXPECT_TRUE(trace.Lines().empty());

    trace.Start(3);
    trace.Outgoing(kPacket);
    trace.Incoming(kPacket);
    trace.Event("Idle -> ConnectSent");
    trace.Event("ConnectSent -> Connected");
    const std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Kind(lines[0]), "in   ");
    EXPECT_EQ(lines[0].substr(17), "F0 00 21 3D 0A F7");
    EXPECT_EQ(lines[1].substr(17), "Idle -> ConnectSent");
    EXPECT_EQ(Kind(lines[2]), "state");

    trace.Stop();
    trace.Outgoing(kPacket);
    EXPECT_EQ(trace.Lines().size(), 3u);
    // A fresh start forgets the last record and takes the full bound again.
    trace.Start();
    for (int i = 0; i < 10; ++i)
        trace.Outgoing(kPacket);
    EXPECT_EQ(trace.Lines().size(), 10u);
}

TEST(LinkTrace, SavesEveryLineOrNothing) {
    ScopedTempDir folder;
    LinkTrace trace;
    trace.Start();
    trace.Outgoing(kPacket);
    trace.Event("HeaderSent -> HeaderAccepted");
    const auto path = folder.Path() / "trace.txt";
    ASSERT_TRUE(trace.SaveTo(path));
    const auto saved = test::ReadBytes(path);
    const std::string text(saved.begin(), saved.end());
    EXPECT_EQ(text, trace.Lines()[0] + "\n" + trace.Lines()[1] + "\n");

    const auto missing = folder.Path() / "gone" / "trace.txt";
    EXPECT_FALSE(trace.SaveTo(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace vantrel
