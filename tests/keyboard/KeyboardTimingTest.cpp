#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "KeyboardTestSupport.h"
#include "keyboard/VirtualKeyboard.h"
#include "keyboard/options/KeyboardTimingOptions.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Clock = KeyboardLine::Clock;
using test::ReplyCommand;
using test::ReplyRecord;

// Wire time of `bytes` at 3,125 bytes/s.
std::chrono::microseconds Din(std::size_t bytes) {
    return std::chrono::microseconds{static_cast<long long>(bytes) * 320};
}

// A keyboard whose clock moves only when the test moves it.
class KeyboardTimingTest : public ::testing::Test {
  protected:
    VirtualKeyboard& Make(KeyboardTiming timing, KeyboardOptions options = {}) {
        options.timing = timing;
        options.clock = [this] { return now_; };
        options.log = [this](const std::string& text) { log_.push_back(text); };
        keyboard_ = std::make_unique<VirtualKeyboard>(std::move(options), output_);
        EXPECT_TRUE(keyboard_->Load());
        return *keyboard_;
    }
    // Sends each packet of the message once the previous packet's acknowledge has arrived, as
    // the computer does; false when one is not acknowledged.
    bool Send(std::span<const std::uint8_t> message) {
        for (const auto& packet : test::Packets(message)) {
            const std::size_t before = output_.Acknowledges();
            keyboard_->OnPacket(packet);
            if (output_.Acknowledges() == before)
                return false;
            now_ += output_.All().back().delay;
        }
        return true;
    }
    std::vector<test::RecordingOutput::Sent> Sent() const { return output_.All(); }

    Clock::time_point now_{std::chrono::hours{1}};
    test::RecordingOutput output_;
    std::unique_ptr<VirtualKeyboard> keyboard_;
    std::vector<std::string> log_;
};

TEST_F(KeyboardTimingTest, AtDinSpeedEachDirectionCarriesOneMessageAfterTheOther) {
    KeyboardTiming timing;
    timing.din = true;
    VirtualKeyboard& keyboard = Make(timing);
    const auto request = sysex::MakeConnectRequest();  // 14 bytes
    keyboard.OnPacket(request);
    auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    // In after 14 bytes, the acknowledge 10 bytes later, the reply right behind it.
    EXPECT_EQ(sent[0].delay, Din(14 + 10));
    EXPECT_EQ(sent[1].delay, Din(14 + 10 + sent[1].message.size()));

    // A second request handed over at the same moment waits for the first on the cable in.
    output_.Clear();
    keyboard.OnPacket(request);
    sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_GE(sent[0].delay, Din(14 + 14 + 10));
    EXPECT_GT(sent[1].delay, sent[0].delay);
}

TEST_F(KeyboardTimingTest, UnpacedRepliesStillFollowTheirAcknowledge) {
    KeyboardTiming timing;
    timing.ackDelay = 150ms;
    Make(timing).OnPacket(sysex::MakeConnectRequest());
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sysex::IsAcknowledge(sent[0].message));
    EXPECT_EQ(sent[0].delay, 150ms);
    EXPECT_EQ(sent[1].delay, 150ms);
}

TEST_F(KeyboardTimingTest, AcknowledgesAreLateByTheDelayGiveOrTakeTheJitter) {
    KeyboardTiming timing;
    timing.ackDelay = 40ms;
    timing.ackJitter = 30ms;
    timing.jitterSeed = 7;
    VirtualKeyboard& keyboard = Make(timing);
    std::vector<std::chrono::microseconds> delays;
    for (int i = 0; i < 200; ++i) {
        output_.Clear();
        keyboard.OnPacket(sysex::MakeConnectRequest());
        const auto sent = Sent();
        ASSERT_EQ(sent.size(), 2u);
        delays.push_back(sent[0].delay);
        EXPECT_GE(sent[1].delay, sent[0].delay) << "the reply overtook its acknowledge";
        now_ += 200ms;
    }
    const auto [low, high] = std::minmax_element(delays.begin(), delays.end());
    EXPECT_GE(*low, 10ms);
    EXPECT_LE(*high, 70ms);
    EXPECT_LT(*low, 25ms) << "the jitter does not spread";
    EXPECT_GT(*high, 55ms) << "the jitter does not spread";
}

TEST_F(KeyboardTimingTest, ABusyReplyHoldsUpWhatComesAfterIt) {
    KeyboardTiming timing;
    timing.busyReply = 80ms;
    VirtualKeyboard& keyboard = Make(timing);
    keyboard.OnPacket(sysex::MakeConnectRequest());
    now_ += 10ms;
    keyboard.OnPacket(sysex::MakeConnectRequest());
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].delay, 0ms);   // acknowledge
    EXPECT_EQ(sent[1].delay, 80ms);  // reply
    EXPECT_EQ(sent[2].delay, 70ms);  // the next acknowledge leaves after that reply
    EXPECT_EQ(sent[3].delay, 80ms);
}

TEST_F(KeyboardTimingTest, AStallLosesThePacketsOfItsTimeAndTheRetriedDownloadIsStored) {
    KeyboardTiming timing;
    timing.stallAfterPacket = 5;
    timing.stallFor = 300ms;
    KeyboardOptions options;
    options.initialSlots[2] = SlotContent{"Old", test::MalformedImage()};
    VirtualKeyboard& keyboard = Make(timing, options);
    const auto& image = test::WellFormedImage();
    const auto header = sysex::MakeFileHeaderMessage(2, static_cast<std::uint32_t>(image.size()));
    const auto data = sysex::MakeFileDataMessage(image);

    ASSERT_TRUE(Send(header));  // packet 1
    EXPECT_FALSE(Send(data));   // packets 2 to 5 acknowledged, packet 6 lost
    EXPECT_EQ(keyboard.Counters().acknowledges, 5u);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0], "stalled for 300 ms after packet 5");
    now_ += 200ms;
    EXPECT_FALSE(Send(header)) << "answered inside the stall";
    EXPECT_EQ(keyboard.Slot(2)->name, "Old");

    now_ += 101ms;
    ASSERT_TRUE(Send(header));
    ASSERT_TRUE(Send(data));
    EXPECT_EQ(keyboard.Slot(2)->image, image);
    EXPECT_EQ(ReplyRecord(output_.Replies().back())[0], 0);
}

TEST_F(KeyboardTimingTest, AnUnpluggedKeyboardAnswersNothingEverAndKeepsTheSlot) {
    KeyboardTiming timing;
    timing.unplugAfterPacket = 3;
    KeyboardOptions options;
    options.initialSlots[0] = SlotContent{"Old", test::MalformedImage()};
    VirtualKeyboard& keyboard = Make(timing, options);
    const auto& image = test::WellFormedImage();
    ASSERT_TRUE(Send(sysex::MakeFileHeaderMessage(0, static_cast<std::uint32_t>(image.size()))));
    EXPECT_FALSE(Send(sysex::MakeFileDataMessage(image)));
    EXPECT_EQ(keyboard.Counters().acknowledges, 3u);
    EXPECT_EQ(log_.back(), "unplugged after packet 3");

    output_.Clear();
    now_ += std::chrono::hours{1};
    keyboard.OnPacket(sysex::MakeConnectRequest());
    test::Feed(keyboard, sysex::MakeFileHeaderMessage(0, static_cast<std::uint32_t>(image.size())));
    test::Feed(keyboard, sysex::MakeFileDataMessage(image));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(keyboard.Slot(0)->name, "Old");
    EXPECT_EQ(keyboard.Slot(0)->image, test::MalformedImage());

    // Setting the timing again plugs it back in.
    keyboard.SetTiming({});
    ASSERT_TRUE(Send(sysex::MakeConnectRequest()));
}

// Parses a command line of timing switches.
KeyboardTiming Parse(std::vector<std::string> args) {
    CLI::App app;
    KeyboardTiming timing;
    AddKeyboardTimingOptions(app, timing, "Timing");
    std::reverse(args.begin(), args.end());
    app.parse(args);
    return timing;
}

TEST(KeyboardTimingOptions, TheSwitchesReadTheirForms) {
    const auto timing = Parse({"--ack-delay", "40:30", "--din", "--stall", "200:300", "--unplug",
                               "300", "--busy-reply", "25"});
    EXPECT_EQ(timing.ackDelay, 40ms);
    EXPECT_EQ(timing.ackJitter, 30ms);
    EXPECT_TRUE(timing.din);
    EXPECT_EQ(timing.stallAfterPacket, 200u);
    EXPECT_EQ(timing.stallFor, 300ms);
    EXPECT_EQ(timing.unplugAfterPacket, 300u);
    EXPECT_EQ(timing.busyReply, 25ms);
    EXPECT_EQ(Parse({"--ack-delay", "150"}).ackJitter, 0ms);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--ack-delay", "fast"},
                                                {"--ack-delay", "40:"},
                                                {"--ack-delay", "-5"},
                                                {"--ack-delay", "70000"},
                                                {"--stall", "200"},
                                                {"--stall", "0:300"},
                                                {"--stall", "200:x"},
                                                {"--unplug", "0"},
                                                {"--busy-reply", "70000"}}) {
        EXPECT_THROW(Parse(bad), CLI::ParseError) << bad[0] << " " << bad[1];
    }
}

}  // namespace
}  // namespace vantrel
