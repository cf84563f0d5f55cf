#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CableFarEnd.h"
#include "ScriptedPrompt.h"
#include "device/CMidiDevice.h"
#include "device/winmm/WinMmBackend.h"

namespace vantrel {
namespace {

// The port layer on WinMM, against the test cable: what the layer asks of the system, in order.
class WinMmPortLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::Cable().Loaded())
            << "the test cable winmm.dll is not loaded (WINEDLLOVERRIDES=winmm=n,b)";
        test::Cable().setChunk(0);
        test::Cable().setBusy(0, 0);
        device_ = CMidiDevice::AcquireDevice();
        device_->SetPrompt(&prompt_);
        device_->SetBackend(MakeWinMmBackend());
        device_->SetSysExHandler([this](std::span<const std::uint8_t> message) {
            const std::lock_guard lock(mutex_);
            received_.emplace_back(message.begin(), message.end());
        });
        device_->EnumeratePorts();
        (void)test::Cable().TakeCalls();
    }
    void TearDown() override {
        if (device_ == nullptr)
            return;
        device_->SetBackend(nullptr);
        device_->SetSysExHandler(nullptr);
        device_->SetPrompt(nullptr);
        CMidiDevice::ReleaseDevice();
    }

    void OpenAndStart() {
        ASSERT_TRUE(device_->OpenInput(0));
        ASSERT_TRUE(device_->OpenOutput(0));
        ASSERT_TRUE(device_->StartInput());
    }
    std::vector<std::vector<std::uint8_t>> Received() {
        device_->SettleInput();
        const std::lock_guard lock(mutex_);
        return received_;
    }

    test::ScriptedPrompt prompt_;
    CMidiDevice* device_ = nullptr;
    std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> received_;
};

TEST_F(WinMmPortLayer, PortsAreListedWithTheNamesTheSystemReports) {
    ASSERT_EQ(device_->InputPortCount(), 1u);
    ASSERT_EQ(device_->OutputPortCount(), 1u);
    EXPECT_EQ(device_->InputPorts()[0].name, "Vantrel Test Cable");
    EXPECT_EQ(device_->OutputPorts()[0].name, "Vantrel Test Cable");
    EXPECT_EQ(device_->InputPorts()[1].name, "");
}

TEST_F(WinMmPortLayer, StartingQueuesSeveralPreparedBuffersBeforeTheStart) {
    OpenAndStart();
    EXPECT_EQ(test::Cable().TakeCalls(),
              "midiInOpen\nmidiOutOpen\n"
              "midiInPrepareHeader\nmidiInAddBuffer\nmidiInPrepareHeader\nmidiInAddBuffer\n"
              "midiInPrepareHeader\nmidiInAddBuffer\nmidiInPrepareHeader\nmidiInAddBuffer\n"
              "midiInStart\n");
}

// A driver returns a long message in as many buffers as it takes; with only one buffer queued
// the bytes arriving while it is handed back would be lost.
TEST_F(WinMmPortLayer, AMessageOverManyBuffersArrivesWholeAndInOrder) {
    OpenAndStart();
    test::Cable().setChunk(16);
    std::vector<std::uint8_t> longMessage(1990);
    for (std::size_t i = 0; i < longMessage.size(); ++i)
        longMessage[i] = static_cast<std::uint8_t>(i % 0x7F);
    longMessage.front() = 0xF0;
    longMessage.back() = 0xF7;
    const std::vector<std::uint8_t> shortMessage = {0xF0, 0x00, 0x21, 0x3D, 0x05, 0xF7};
    test::Cable().deliver(longMessage.data(), static_cast<unsigned>(longMessage.size()));
    test::Cable().deliver(shortMessage.data(), static_cast<unsigned>(shortMessage.size()));
    ASSERT_TRUE(device_->WaitUntil(
        [this] {
            const std::lock_guard lock(mutex_);
            return received_.size() == 2;
        },
        std::chrono::seconds(5)));
    const auto received = Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], longMessage);
    EXPECT_EQ(received[1], shortMessage);
}

TEST_F(WinMmPortLayer, ClosingStopsAndResetsBeforeItReleasesTheBuffersAndCloses) {
    OpenAndStart();
    (void)test::Cable().TakeCalls();
    ASSERT_TRUE(device_->CloseInput());
    EXPECT_EQ(test::Cable().TakeCalls(),
              "midiInStop\nmidiInReset\n"
              "midiInUnprepareHeader\nmidiInUnprepareHeader\nmidiInUnprepareHeader\n"
              "midiInUnprepareHeader\nmidiInClose\n");
    EXPECT_EQ(device_->GetInputState(), InputState::Closed);
    // Buffers handed back by the reset are neither delivered nor queued again.
    EXPECT_TRUE(Received().empty());
    // Closed ports close again without a call to the system.
    ASSERT_TRUE(device_->CloseInput());
    EXPECT_EQ(test::Cable().TakeCalls(), "");
}

TEST_F(WinMmPortLayer, APortStillBusyIsResetAndClosedAgainUpToTwelveTimes) {
    OpenAndStart();
    test::Cable().setBusy(0, 3);
    (void)test::Cable().TakeCalls();
    ASSERT_TRUE(device_->CloseInput());
    const std::string calls = test::Cable().TakeCalls();
    std::size_t closes = 0;
    for (std::size_t at = calls.find("midiInClose"); at != std::string::npos;
         at = calls.find("midiInClose", at + 1)) {
        ++closes;
    }
    EXPECT_EQ(closes, 4u);
    EXPECT_NE(calls.find("midiInClose\nmidiInStop\nmidiInReset\n"), std::string::npos) << calls;
    EXPECT_TRUE(prompt_.shown.empty());

    ASSERT_TRUE(device_->OpenInput(0));
    ASSERT_TRUE(device_->StartInput());
    test::Cable().setBusy(0, 12);
    EXPECT_FALSE(device_->CloseInput());
    device_->DeliverNotices();
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"midiInClose failed"});
    EXPECT_EQ(device_->GetInputState(), InputState::Open);
    test::Cable().setBusy(0, 0);
    EXPECT_TRUE(device_->CloseInput());
}

TEST_F(WinMmPortLayer, APacketIsSentWithItsHeaderPreparedAndReleasedWhenThePortIsDone) {
    OpenAndStart();
    test::KeyboardOnCable farEnd;
    test::Cable().setBusy(2, 0);
    (void)test::Cable().TakeCalls();
    const std::vector<std::uint8_t> packet = {0xF0, 0x00, 0x21, 0x3D, 0x01, 0x02, 0xF7};
    ASSERT_TRUE(device_->SendPacket(packet));
    EXPECT_EQ(test::Cable().TakeCalls(),
              "midiOutPrepareHeader\nmidiOutLongMsg\nmidiOutUnprepareHeader\n"
              "midiOutUnprepareHeader\nmidiOutUnprepareHeader\n");
    EXPECT_EQ(farEnd.Packets(), std::vector<std::vector<std::uint8_t>>{packet});
}

}  // namespace
}  // namespace vantrel
