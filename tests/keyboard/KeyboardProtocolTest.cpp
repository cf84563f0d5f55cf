#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "KeyboardTestSupport.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/CompositePortBackend.h"
#include "device/LinkOptions.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"
#include "keyboard/VirtualKeyboardBackend.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Every request must come to its end, not wait on past its time-out. The bound is generous (a
// loaded machine, a sanitizer or Wine slows every step, and a retry waits again), but a request
// that ignored its time-out would still pass it.
constexpr auto kSlack = 10s;
constexpr int kSlowMachineFactor = 3;
constexpr int kShortTimeoutMs = 100;  // header wait; the data wait is 21 times this

// The computer's side (the shared port layer and protocol) talking to the in-process keyboard.
class KeyboardProtocolTest : public ::testing::Test {
  protected:
    void Start(KeyboardOptions options = {}) {
        Link().linkIdle.store(true);
        Link().progressEnabled.store(false);
        backend_ = std::make_shared<VirtualKeyboardBackend>(std::move(options));
        ASSERT_TRUE(backend_->Ready());
        trans_ = std::make_unique<CMidiTrans>(prompt_);
        trans_->Device().SetBackend(backend_);
        trans_->RegisterHandler();
        trans_->Device().EnumeratePorts();
        ASSERT_TRUE(trans_->OpenPorts(0, 0));
    }
    void TearDown() override {
        EXPECT_TRUE(Link().linkIdle.load());
        trans_.reset();
        backend_.reset();
    }
    VirtualKeyboard& Keyboard() { return backend_->Keyboard(); }
    void SetFaults(const KeyboardFaults& faults) { Keyboard().SetFaults(faults); }

    // Runs a request, checking it ends within its time-out.
    template <typename Request>
    bool Timed(std::chrono::milliseconds timeout, Request request) {
        const auto start = Clock::now();
        const bool result = request();
        EXPECT_LT(Clock::now() - start, kSlowMachineFactor * timeout + kSlack);
        EXPECT_TRUE(Link().linkIdle.load());
        return result;
    }
    bool Connect(std::string& name) {
        return Timed(CMidiTrans::kConnectTimeout, [&] { return trans_->RequestConnect(name); });
    }
    bool Slots(std::vector<std::string>& names) {
        return Timed(CMidiTrans::kSlotListTimeout, [&] { return trans_->RequestSlotList(names); });
    }
    bool Delete(int slot) {
        return Timed(CMidiTrans::kDeleteTimeout, [&] { return trans_->DeleteSlot(slot); });
    }
    // A download reports success exactly when the keyboard holds the image afterwards.
    bool Download(const std::vector<std::uint8_t>& image, int slot, int timeoutMs) {
        const auto path = folder_.Path() / "Total.mix";
        test::WriteBytes(path, image);
        const auto timeout = std::chrono::milliseconds(
            std::int64_t{timeoutMs} * static_cast<std::int64_t>(image.size() / 1000 + 2) + 2000);
        const bool stored =
            Timed(timeout, [&] { return trans_->DownloadFile(path, slot, timeoutMs); });
        const auto content = Keyboard().Slot(static_cast<std::size_t>(slot));
        EXPECT_EQ(stored, content && content->image == image);
        return stored;
    }

    void ExpectEveryRequestFails(const KeyboardFaults& faults) {
        Start();
        SetFaults(faults);
        std::string name;
        EXPECT_FALSE(Connect(name));
        std::vector<std::string> names;
        EXPECT_FALSE(Slots(names));
        EXPECT_FALSE(Delete(0));
        EXPECT_FALSE(Download(test::WellFormedImage(), 0, kShortTimeoutMs));
    }

    ScopedTempDir folder_;
    test::ScriptedPrompt prompt_;
    std::shared_ptr<VirtualKeyboardBackend> backend_;
    std::unique_ptr<CMidiTrans> trans_;
};

TEST_F(KeyboardProtocolTest, TheKeyboardIsOnePortPairAmongTheOthers) {
    auto keyboard = std::make_shared<VirtualKeyboardBackend>();
    CompositePortBackend ports({keyboard});
    EXPECT_EQ(ports.InputPortNames(), std::vector<std::string>{"Vantrel Virtual Keyboard"});
    EXPECT_EQ(ports.OutputPortNames(), std::vector<std::string>{"Vantrel Virtual Keyboard"});
}

TEST_F(KeyboardProtocolTest, ConnectListDownloadAndDeleteWorkEndToEnd) {
    KeyboardOptions options;
    options.slotCount = 5;
    options.initialSlots[0] = SlotContent{"Factory Pop", test::WellFormedImage()};
    Start(options);
    std::string name;
    ASSERT_TRUE(Connect(name));
    EXPECT_EQ(name, "Vantrel Virtual Keyboard");
    std::vector<std::string> names;
    ASSERT_TRUE(Slots(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Factory Pop", "Empty", "Empty", "Empty", "Empty"}));

    int steps = 0;
    trans_->Device().SetTransferStep([&steps] { ++steps; });
    Link().progressEnabled.store(true);
    EXPECT_TRUE(Download(test::WellFormedImage(), 2, CMidiTrans::kDownloadTimeoutMs));
    Link().progressEnabled.store(false);
    EXPECT_EQ(steps, 892);

    ASSERT_TRUE(Slots(names));
    EXPECT_EQ(names[2], "Style 003");
    ASSERT_TRUE(Delete(2));
    EXPECT_FALSE(Keyboard().Slot(2));
    ASSERT_TRUE(Slots(names));
    EXPECT_EQ(names[2], "Empty");
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(KeyboardProtocolTest, RefusedDownloadsReportFailure) {
    KeyboardOptions options;
    options.capacity = 20000;
    Start(options);
    EXPECT_FALSE(Download(test::WellFormedImage(), 1, kShortTimeoutMs));
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Capacity is not allowed!"});
    EXPECT_EQ(Keyboard().Counters().packets, 1u) << "no file data after the refusal";

    EXPECT_FALSE(Download(std::vector<std::uint8_t>(1000, 0x11), 1, kShortTimeoutMs));
    EXPECT_FALSE(Delete(40));  // no such slot on this keyboard
    EXPECT_EQ(prompt_.messages.size(), 1u);
}

TEST_F(KeyboardProtocolTest, AMalformedImageOfTheRightSizeIsNotStored) {
    Start();
    EXPECT_FALSE(Download(test::MalformedImage(), 3, kShortTimeoutMs));
    EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(KeyboardProtocolTest, ALostAcknowledgeStopsTheMessageAndTheLinkRecovers) {
    Start();
    KeyboardFaults faults;
    faults.dropAckOfPacket = 5;  // the header, then the fourth data packet
    SetFaults(faults);
    LinkOptions noRetries;
    noRetries.retries = 0;
    ApplyLinkOptions(noRetries);
    EXPECT_FALSE(Download(test::WellFormedImage(), 0, kShortTimeoutMs));
    // Nothing of the message after the lost acknowledge but the short packet that ends it.
    EXPECT_EQ(Keyboard().Counters().packets, 6u);
    EXPECT_EQ(Keyboard().Counters().checksumErrors, 1u);
    ApplyLinkOptions({});
    // With the default retries the download starts again from its header and is stored.
    SetFaults(faults);
    EXPECT_TRUE(Download(test::WellFormedImage(), 0, kShortTimeoutMs));

    // A lost acknowledge of a one-packet request loses nothing else: the reply still counts.
    faults.dropAckOfPacket = 1;
    SetFaults(faults);
    std::string name;
    EXPECT_TRUE(Connect(name));
    SetFaults({});
    EXPECT_TRUE(Download(test::WellFormedImage(), 0, CMidiTrans::kDownloadTimeoutMs));
}

TEST_F(KeyboardProtocolTest, DamagedRepliesAreAskedForAgainAndSucceed) {
    KeyboardOptions options;
    options.slotCount = 4;
    Start(options);
    KeyboardFaults faults;
    faults.corruptReply = 1;
    SetFaults(faults);
    std::string name;
    EXPECT_TRUE(Connect(name));
    EXPECT_EQ(Keyboard().Counters().repeats, 1u);

    faults.corruptReply = 3;  // the third slot-list entry
    SetFaults(faults);
    std::vector<std::string> names;
    EXPECT_TRUE(Slots(names));
    EXPECT_EQ(names.size(), 4u);

    faults.corruptReply = 2;  // the data reply
    SetFaults(faults);
    EXPECT_TRUE(Download(test::WellFormedImage(), 1, CMidiTrans::kDownloadTimeoutMs));
    // A damaged delete reply is not complained about: the complaint would read "delete slot
    // 2". The delete counts as failed and slot 2 keeps its style.
    ASSERT_TRUE(Download(test::WellFormedImage(), 2, CMidiTrans::kDownloadTimeoutMs));
    faults.corruptReply = 1;
    SetFaults(faults);
    const auto complaintsBefore = Keyboard().Counters().statusReplies;
    EXPECT_FALSE(Delete(1));
    EXPECT_EQ(Keyboard().Counters().repeats, 3u);
    EXPECT_EQ(Keyboard().Counters().statusReplies, complaintsBefore);
    EXPECT_TRUE(Keyboard().Slot(2).has_value());
}

TEST_F(KeyboardProtocolTest, RepliesThatAreAlwaysDamagedFailEveryRequest) {
    KeyboardFaults faults;
    faults.corruptEveryReply = true;
    ExpectEveryRequestFails(faults);
    EXPECT_GT(Keyboard().Counters().repeats, 0u);
}

TEST_F(KeyboardProtocolTest, LateRepliesMissTheirTimeOut) {
    Start();
    KeyboardFaults faults;
    faults.replyDelay = 50ms;
    SetFaults(faults);
    std::string name;
    EXPECT_TRUE(Connect(name));
    faults.replyDelay = 350ms;
    SetFaults(faults);
    EXPECT_FALSE(Connect(name));
    std::this_thread::sleep_for(faults.replyDelay);  // let the late reply pass
    faults.replyDelay = 1200ms;
    SetFaults(faults);
    EXPECT_FALSE(Delete(0));
}

TEST_F(KeyboardProtocolTest, AnOutOfOrderSlotListFails) {
    Start();
    KeyboardFaults faults;
    faults.slotListOutOfOrder = true;
    SetFaults(faults);
    std::vector<std::string> names;
    EXPECT_FALSE(Slots(names));
    EXPECT_TRUE(names.empty());
}

TEST_F(KeyboardProtocolTest, ASilentKeyboardFailsEveryRequest) {
    KeyboardFaults faults;
    faults.silent = true;
    ExpectEveryRequestFails(faults);
    EXPECT_EQ(Keyboard().Counters().acknowledges, 0u);
}

// Both ways a keyboard may join packets: the cut message is closed, the keyboard's answer to it
// is not taken for the answer to what follows, and the link recovers at once.
class KeyboardRecoveryTest : public KeyboardProtocolTest,
                             public ::testing::WithParamInterface<JoinRule> {
  protected:
    void StartWithOldSlot() {
        KeyboardOptions options;
        options.joinRule = GetParam();
        options.initialSlots[2] = SlotContent{"Old", test::MalformedImage()};
        Start(options);
    }
    bool HoldsOld() const {
        const auto slot = backend_->Keyboard().Slot(2);
        return slot && slot->name == "Old" && slot->image == test::MalformedImage();
    }
    std::size_t TraceLinesWith(const std::string& text) const {
        const auto lines = Trace().Lines();
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }
};

TEST_P(KeyboardRecoveryTest, ACancelAtPacket300IsClosedAndTheNextRequestsWork) {
    StartWithOldSlot();
    Trace().Start();
    int steps = 0;
    trans_->Device().SetTransferStep([&steps] {
        if (++steps == 300)
            CancelLink();
    });
    Link().progressEnabled.store(true);
    EXPECT_FALSE(Download(test::WellFormedImage(), 2, CMidiTrans::kDownloadTimeoutMs));
    Link().progressEnabled.store(false);
    trans_->Device().SetTransferStep({});
    EXPECT_TRUE(CMidiTrans::WasCancelled());
    EXPECT_EQ(TraceLinesWith("closing it with a short packet"), 1u);
    EXPECT_EQ(TraceLinesWith("answer to the cut message dropped"), 1u);
    Trace().Stop();
    EXPECT_EQ(Keyboard().Counters().checksumErrors, 1u);

    std::string name;
    EXPECT_TRUE(Connect(name));
    std::vector<std::string> names;
    ASSERT_TRUE(Slots(names));
    EXPECT_EQ(names[2], "Old");
    EXPECT_TRUE(HoldsOld());
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_P(KeyboardRecoveryTest, ALostAcknowledgeAtPacket300IsStoredOnTheRetry) {
    StartWithOldSlot();
    KeyboardFaults faults;
    faults.dropAckOfPacket = 300;
    SetFaults(faults);
    std::vector<std::pair<int, int>> restarts;
    trans_->Device().SetTransferRestart(
        [&restarts](int retry, int retries) { restarts.emplace_back(retry, retries); });
    Link().progressEnabled.store(true);
    EXPECT_TRUE(Download(test::WellFormedImage(), 2, CMidiTrans::kDownloadTimeoutMs));
    Link().progressEnabled.store(false);
    trans_->Device().SetTransferRestart({});
    EXPECT_EQ(restarts, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(trans_->LastDownload().retries, 1);
    EXPECT_EQ(trans_->LastDownload().ackTimeout, 2 * LinkOptions::kDefaultAckTimeout);

    // Without retries it fails, says why, and the next request works.
    LinkOptions noRetries;
    noRetries.retries = 0;
    ApplyLinkOptions(noRetries);
    SetFaults(faults);
    EXPECT_FALSE(Download(test::MalformedImage(), 2, CMidiTrans::kDownloadTimeoutMs));
    ApplyLinkOptions({});
    EXPECT_TRUE(trans_->LastDownload().lostAcknowledge);
    EXPECT_EQ(trans_->LastDownload().retries, 0);
    std::vector<std::string> names;
    ASSERT_TRUE(Slots(names));
    EXPECT_EQ(backend_->Keyboard().Slot(2)->image, test::WellFormedImage());
}

TEST_P(KeyboardRecoveryTest, OneLateAcknowledgeInAHundredIsOutwaitedByTheRetry) {
    StartWithOldSlot();
    KeyboardFaults faults;
    faults.lateAckEvery = 100;
    faults.lateAckBy = 150ms;
    SetFaults(faults);
    EXPECT_TRUE(Download(test::WellFormedImage(), 2, CMidiTrans::kDownloadTimeoutMs));
    EXPECT_EQ(trans_->LastDownload().retries, 1);
}

INSTANTIATE_TEST_SUITE_P(JoinRules, KeyboardRecoveryTest,
                         ::testing::Values(JoinRule::ByFrameStart, JoinRule::ByLength),
                         [](const ::testing::TestParamInfo<JoinRule>& param) {
                             return param.param == JoinRule::ByLength ? "ByLength" : "ByFrameStart";
                         });

}  // namespace
}  // namespace vantrel
