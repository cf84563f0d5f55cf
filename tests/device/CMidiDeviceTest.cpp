#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <numeric>
#include <thread>

#include "DeviceTestSupport.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/UserPrompt.h"
#include "device/CMidiTrans.h"
#include "device/LinkTrace.h"
#include "device/SysExProtocol.h"

namespace vantrel::test {
namespace {

using namespace sysex;

Bytes Message(std::size_t size) {
    Bytes message(size);
    std::iota(message.begin(), message.end(), std::uint8_t{1});
    for (auto& byte : message)
        byte &= 0x7F;
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

using CMidiDeviceSend = DeviceTest;

TEST_F(CMidiDeviceSend, ShortMessagesGoOutUnchangedAsOnePacket) {
    OpenLink();
    for (const std::size_t size : {14u, 32u, 46u}) {
        const Bytes message = Message(size);
        ASSERT_TRUE(device_->SendMessageAcked(message)) << size;
        const auto sent = backend_->Sent();
        EXPECT_EQ(sent.back(), message) << size;
    }
    EXPECT_EQ(backend_->Sent().size(), 3u);
}

TEST_F(CMidiDeviceSend, A4108ByteMessageIsCutInto90Packets) {
    OpenLink();
    int steps = 0;
    device_->SetTransferStep([&steps] { ++steps; });
    Link().progressEnabled.store(true);
    const Bytes message = Message(4108);
    ASSERT_TRUE(device_->SendMessageAcked(message));

    const auto sent = backend_->Sent();
    ASSERT_EQ(sent.size(), 90u);
    EXPECT_EQ(sent[0], [&] {
        Bytes first(message.begin(), message.begin() + 47);
        first.push_back(0xF7);
        return first;
    }());
    for (std::size_t i = 1; i < 89; ++i) {
        ASSERT_EQ(sent[i].size(), 48u) << i;
        EXPECT_EQ(sent[i].front(), 0xF0);
        EXPECT_EQ(sent[i].back(), 0xF7);
        const auto piece = message.begin() + 47 + static_cast<std::ptrdiff_t>((i - 1) * 46);
        EXPECT_TRUE(std::equal(sent[i].begin() + 1, sent[i].end() - 1, piece)) << i;
    }
    Bytes last = {0xF0};
    last.insert(last.end(), message.end() - 13, message.end());
    EXPECT_EQ(sent[89], last);
    EXPECT_EQ(script_.requests.back(), message);  // the device joins it back together
    EXPECT_EQ(steps, 90);
}

TEST_F(CMidiDeviceSend, NoProgressStepsUnlessEnabled) {
    OpenLink();
    int steps = 0;
    device_->SetTransferStep([&steps] { ++steps; });
    ASSERT_TRUE(device_->SendMessageAcked(Message(200)));
    EXPECT_EQ(steps, 0);
}

TEST_F(CMidiDeviceSend, ALostSecondAcknowledgeStopsTheMessage) {
    OpenLink();
    script_.dropAckOfPacket = 2;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(device_->SendMessageAcked(Message(200)));
    const auto waited = std::chrono::steady_clock::now() - start;
    // Two packets, then the short one that ends the message; no third packet of it.
    const auto sent = backend_->Sent();
    ASSERT_EQ(sent.size(), 3u);
    const Bytes message = Message(200);
    const auto closing = MakeClosingPacket(std::span(message).first(47 + 46));
    EXPECT_EQ(sent[2], Bytes(closing.begin(), closing.end()));
    EXPECT_GE(waited, CMidiDevice::kAckTimeout);
}

// The device answers every whole message, the damaged one that a closing packet ends too.
class CMidiDeviceClosing : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        script_.onRequest = [](const Bytes& request) {
            const bool damaged = CheckMessage(request) != CheckResult::Ok;
            return std::vector<Bytes>{
                MakeStatusRecordReply(request[kCommandOffset], damaged ? kStatusBadChecksum : 0)};
        };
        device_->SetSysExHandler([this](std::span<const std::uint8_t> message) {
            handled_.emplace_back(message.begin(), message.end());
        });
        OpenLink();
        Trace().Start();
    }
    void TearDown() override {
        Trace().Stop();
        DeviceTest::TearDown();
    }
    std::vector<std::string> TraceEvents() const {
        std::vector<std::string> events;
        for (const auto& line : Trace().Lines()) {
            const auto kind = line.find(" state ");
            if (kind != std::string::npos)
                events.push_back(line.substr(kind + 7));
        }
        return events;
    }

    std::vector<Bytes> handled_;
};

TEST_F(CMidiDeviceClosing, ALostAcknowledgeClosesTheMessageAndItsAnswerIsDropped) {
    script_.dropAckOfPacket = 3;
    const Bytes data = MakeFileDataMessage(Bytes(2048, 0x21));
    EXPECT_EQ(device_->SendMessage(data), SendOutcome::NoAcknowledge);
    // The device took 3 packets and the closing one as one damaged message and answered it;
    // the answer went nowhere.
    ASSERT_EQ(script_.requests.size(), 1u);
    EXPECT_EQ(CheckMessage(script_.requests[0]), CheckResult::BadChecksum);
    EXPECT_EQ(script_.requests[0].size(), 47u + 46 + 46 + 4);
    device_->SettleInput();
    EXPECT_TRUE(handled_.empty());
    const auto events = TraceEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NE(events[0].find("message cut after 139 bytes: closing it with a short packet"),
              std::string::npos);
    EXPECT_NE(events[1].find("the keyboard's answer to the cut message dropped"),
              std::string::npos);

    // The next request is answered, and its answer is handled.
    EXPECT_EQ(device_->SendMessage(MakeConnectRequest()), SendOutcome::Sent);
    device_->WaitUntil([this] { return !handled_.empty(); }, std::chrono::seconds(2));
    ASSERT_EQ(handled_.size(), 1u);
    EXPECT_EQ(handled_[0], MakeStatusRecordReply(kCommandConnect, 0));
}

TEST_F(CMidiDeviceClosing, ACancelClosesAfterThePacketInFlightAndAnUncutMessageIsNotClosed) {
    std::size_t packets = 0;
    backend_->SetResponder(
        [&packets, responder = script_.Responder()](std::span<const std::uint8_t> packet) {
            if (++packets == 5)
                CancelLink();
            return responder(packet);
        });
    Link().cancelRequested.store(false);
    EXPECT_EQ(device_->SendMessage(Message(4108)), SendOutcome::Cancelled);
    Link().cancelRequested.store(false);
    auto sent = backend_->Sent();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[5].size(), kClosingPacketSize);
    device_->SettleInput();
    EXPECT_TRUE(handled_.empty());

    // A whole message, even one whose last acknowledge is lost, is not cut: nothing follows it.
    script_.dropAckOfPacket = 6 + 90;
    EXPECT_EQ(device_->SendMessage(Message(4108)), SendOutcome::LastUnanswered);
    EXPECT_EQ(backend_->Sent().size(), 6u + 90);
}

TEST_F(CMidiDeviceClosing, AKeyboardThatDoesNotAnswerTheClosingPacketIsWaitedForOnce) {
    script_.onRequest = nullptr;
    script_.dropAckOfPacket = 2;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(device_->SendMessage(Message(200), {}, std::chrono::milliseconds(60)),
              SendOutcome::NoAcknowledge);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(120));  // the acknowledge, then the answer
    EXPECT_EQ(backend_->Sent().size(), 3u);
    const auto events = TraceEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NE(events[1].find("no answer to the cut message within 60 ms"), std::string::npos);
}

TEST_F(CMidiDeviceSend, NothingGoesOutOnAClosedOutput) {
    EXPECT_FALSE(device_->SendPacket(Message(14)));
    EXPECT_FALSE(device_->SendMessageAcked(Message(14)));
    EXPECT_TRUE(device_->SendMessageAcked({}));
    EXPECT_TRUE(backend_->Sent().empty());
}

using CMidiDevicePorts = DeviceTest;

TEST_F(CMidiDevicePorts, EnumeratingClosesAnOpenLinkAndFillsTheTables) {
    OpenLink();
    device_->EnumeratePorts();
    EXPECT_EQ(device_->GetInputState(), InputState::Closed);
    EXPECT_EQ(device_->GetOutputState(), OutputState::Closed);
    EXPECT_EQ(device_->InputPortCount(), 1u);
    EXPECT_EQ(device_->InputPorts()[0].name, "Fake In");
    EXPECT_EQ(device_->OutputPorts()[0].name, "Fake Out");
    EXPECT_EQ(device_->OutputPorts()[1].name, "");

    std::vector<std::string> many;
    for (int i = 0; i < 70; ++i)
        many.push_back("port " + std::to_string(i));
    device_->SetBackend(std::make_shared<FakePortBackend>(many, many));
    device_->EnumeratePorts();
    EXPECT_EQ(device_->InputPortCount(), CMidiDevice::kMaxPorts);
    EXPECT_EQ(device_->OutputPorts()[63].id, 63);
    EXPECT_EQ(device_->OutputPorts()[63].name, "port 63");
}

TEST_F(CMidiDevicePorts, ClosingClosedPortsSucceedsWithoutACall) {
    EXPECT_TRUE(device_->CloseInput());
    EXPECT_TRUE(device_->CloseOutput());
    EXPECT_EQ(backend_->portCalls, 0);
}

TEST_F(CMidiDevicePorts, InputCloseRetriesThenGivesUpWithAMessage) {
    ScriptedPrompt prompt;
    device_->SetPrompt(&prompt);
    OpenLink();
    backend_->closeInputFailures = 3;
    EXPECT_TRUE(device_->CloseInput());
    EXPECT_EQ(device_->GetInputState(), InputState::Closed);
    EXPECT_TRUE(prompt.messages.empty());

    OpenLink();
    backend_->closeInputFailures = CMidiDevice::kCloseAttempts;
    EXPECT_FALSE(device_->CloseInput());
    EXPECT_EQ(device_->GetInputState(), InputState::Open);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"midiInClose failed"});
    EXPECT_TRUE(device_->CloseInput());
    device_->SetPrompt(nullptr);
}

using CMidiDeviceInput = DeviceTest;

TEST_F(CMidiDeviceInput, BuffersJoinIntoOneMessageForTheHandler) {
    std::vector<Bytes> received;
    device_->SetSysExHandler([&received](std::span<const std::uint8_t> message) {
        received.emplace_back(message.begin(), message.end());
    });
    OpenLink();
    backend_->Inject(Hex("F0 00 21 3D 55 52"));
    backend_->Inject(Hex("53 57 00 01 00 01 00 F7"));
    backend_->Drain();
    device_->SettleInput();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], Hex("F0 00 21 3D 55 52 53 57 00 01 00 01 00 F7"));
}

TEST_F(CMidiDeviceInput, StoppingInputDropsTheReturnedBuffer) {
    int delivered = 0;
    device_->SetSysExHandler([&delivered](std::span<const std::uint8_t>) { ++delivered; });
    OpenLink();
    backend_->returnedOnStop = Hex("F0 01 02 F7");
    EXPECT_TRUE(device_->CloseInput());
    device_->SettleInput();
    EXPECT_EQ(delivered, 0);

    // A fresh start takes input again.
    backend_->returnedOnStop.clear();
    ASSERT_TRUE(device_->OpenInput(0));
    ASSERT_TRUE(device_->StartInput());
    backend_->Inject(Hex("F0 01 02 F7"));
    backend_->Drain();
    device_->SettleInput();
    EXPECT_EQ(delivered, 1);
}

// Records each message; a message may run something first, as a modal box's event loop would.
class NestingPrompt final : public UserPrompt {
  public:
    void Message(const std::string& text) override {
        if (onMessage)
            onMessage(text);
        messages.push_back(text);
    }
    PromptAnswer Ask(const std::string&, PromptButtons) override { return PromptAnswer::No; }
    std::vector<std::string> messages;
    std::function<void(const std::string&)> onMessage;
};

bool WaitFor(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

using CMidiDeviceNotices = DeviceTest;

TEST_F(CMidiDeviceNotices, APostedJobLeavesItsMessagesAndItsEndInOrderBehindOneWake) {
    std::atomic<int> wakes{0};
    device_->SetNoticeWake([&] { wakes.fetch_add(1); });
    NestingPrompt prompt;
    std::atomic<bool> ended{false};
    device_->PostToLink([&] {
        EXPECT_TRUE(device_->OnLinkThread());
        device_->PostMessage(prompt, "first");
        device_->PostToCaller([&] { prompt.Message("end"); });
        device_->PostMessage(prompt, "after the end");
        ended.store(true);
    });
    ASSERT_TRUE(WaitFor([&] { return ended.load(); }));
    EXPECT_EQ(wakes.load(), 1);            // one wake until the caller has collected
    EXPECT_TRUE(prompt.messages.empty());  // nothing runs on the worker or before delivery
    device_->DeliverNotices();
    EXPECT_EQ(prompt.messages, (std::vector<std::string>{"first", "end", "after the end"}));

    device_->PostToLink([&] { device_->PostMessage(prompt, "again"); });
    ASSERT_TRUE(WaitFor([&] { return wakes.load() == 2; }));
    device_->DeliverNotices();
    EXPECT_EQ(prompt.messages.back(), "again");
    device_->SetNoticeWake({});
}

TEST_F(CMidiDeviceNotices, NoticesDeliveredFromInsideAMessageStillComeInOrder) {
    NestingPrompt prompt;
    // The first message's box delivers what is left from its own event loop.
    prompt.onMessage = [&](const std::string& text) {
        if (text == "box")
            device_->DeliverNotices();
    };
    std::atomic<bool> ended{false};
    device_->PostToLink([&] {
        device_->PostMessage(prompt, "box");
        device_->PostMessage(prompt, "second");
        device_->PostToCaller([&] { prompt.Message("end"); });
        ended.store(true);
    });
    ASSERT_TRUE(WaitFor([&] { return ended.load(); }));
    device_->DeliverNotices();
    // "box" is recorded as its box closes, after what its loop delivered.
    EXPECT_EQ(prompt.messages, (std::vector<std::string>{"second", "end", "box"}));
}

TEST(CMidiDeviceInstance, IsSharedAndLivesUntilTheLastRelease) {
    ScriptedPrompt prompt;
    CMidiDevice* first = CMidiDevice::AcquireDevice();
    {
        const CMidiTrans handle(prompt);
        EXPECT_EQ(&handle.Device(), first);
    }
    EXPECT_EQ(CMidiDevice::Instance(), first);  // the first holder still has it
    CMidiDevice::ReleaseDevice();
    EXPECT_EQ(CMidiDevice::Instance(), nullptr);
    CMidiDevice::ReleaseDevice();  // one release too many changes nothing
    EXPECT_EQ(CMidiDevice::Instance(), nullptr);
}

}  // namespace
}  // namespace vantrel::test
