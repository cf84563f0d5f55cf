#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "ScriptedPrompt.h"
#include "device/CMidiTrans.h"
#include "device/CompositePortBackend.h"
#include "device/DeviceConnector.h"
#include "device/SysExProtocol.h"

namespace vantrel::test {
namespace {

std::vector<PortEntry> Ports(std::initializer_list<const char*> names) {
    std::vector<PortEntry> ports;
    for (const char* name : names) {
        ports.push_back({static_cast<std::int32_t>(ports.size()), name});
    }
    return ports;
}

TEST(FindPort, TakesAnIndexAnExactNameOrOneNameContainingTheText) {
    const auto ports = Ports(
        {"Midi Through:Port-0", "Vantrel Virtual Keyboard", "Synth:in 1", "Synth:in 12", "2"});
    EXPECT_EQ(FindPort(ports, "1"), 1u);
    EXPECT_EQ(FindPort(ports, "5"), std::nullopt);  // an index past the table
    EXPECT_EQ(FindPort(ports, "Vantrel Virtual Keyboard"), 1u);
    EXPECT_EQ(FindPort(ports, "Through"), 0u);
    EXPECT_EQ(FindPort(ports, "Synth:in 1"), 2u);       // exact beats the longer name containing it
    EXPECT_EQ(FindPort(ports, "Synth"), std::nullopt);  // ambiguous
    EXPECT_EQ(FindPort(ports, "Nothing"), std::nullopt);
    EXPECT_EQ(FindPort(ports, ""), std::nullopt);
}

TEST(CompositePortBackend, ListsPartsInOrderAndRoutesEachPortToItsPart) {
    auto system = std::make_shared<FakePortBackend>(std::vector<std::string>{"A in", "B in"},
                                                    std::vector<std::string>{"A out"});
    auto keyboard = std::make_shared<FakePortBackend>(std::vector<std::string>{"K"},
                                                      std::vector<std::string>{"K"});
    CompositePortBackend composite({system, keyboard});
    EXPECT_EQ(composite.InputPortNames(), (std::vector<std::string>{"A in", "B in", "K"}));
    EXPECT_EQ(composite.OutputPortNames(), (std::vector<std::string>{"A out", "K"}));

    ASSERT_TRUE(composite.OpenOutput(1));
    EXPECT_FALSE(composite.OpenOutput(0));  // one output at a time
    const Bytes packet = {0xF0, 0x01, 0xF7};
    ASSERT_TRUE(composite.Send(packet));
    EXPECT_TRUE(system->Sent().empty());
    EXPECT_EQ(keyboard->Sent(), std::vector<Bytes>{packet});

    EXPECT_FALSE(composite.OpenInput(3, {}));
    ASSERT_TRUE(composite.OpenInput(2, {[](std::span<const std::uint8_t>) {}}));
    EXPECT_TRUE(composite.StartInput());
    EXPECT_TRUE(composite.CloseInput());
    EXPECT_TRUE(composite.CloseOutput());
    EXPECT_FALSE(composite.Send(packet));
}

TEST(PacketCount, FollowsTheCutRules) {
    EXPECT_EQ(CMidiDevice::PacketCount(0), 0u);
    EXPECT_EQ(CMidiDevice::PacketCount(14), 1u);
    EXPECT_EQ(CMidiDevice::PacketCount(47), 1u);
    EXPECT_EQ(CMidiDevice::PacketCount(48), 2u);
    EXPECT_EQ(CMidiDevice::PacketCount(4108), 90u);
    EXPECT_EQ(CMidiTrans::DownloadPacketCount(2048), 91u);
    EXPECT_EQ(CMidiTrans::DownloadPacketCount(20474), 892u);
}

class ConnectDeviceTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        trans_ = std::make_unique<CMidiTrans>(prompt_);
    }
    void TearDown() override {
        trans_.reset();
        Link().deviceConnected.store(false);
        DeviceTest::TearDown();
    }
    ScriptedPrompt prompt_;
    std::unique_ptr<CMidiTrans> trans_;
    std::string name_;
};

TEST_F(ConnectDeviceTest, ConnectsByNameAndSetsDeviceConnected) {
    device_->SetSysExHandler(nullptr);  // ConnectDeviceByName registers the protocol's own
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{sysex::MakeConnectReply(sysex::kStatusOk, "Stage 61")};
    };
    EXPECT_EQ(ConnectDeviceByName(*trans_, prompt_, "Fake In", "0", name_),
              ConnectOutcome::Connected);
    EXPECT_EQ(name_, "Stage 61");
    EXPECT_TRUE(Link().deviceConnected.load());
    EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ConnectDeviceTest, ReportsAPortThatCannotBeFoundOrOpenedOrADeviceThatIsSilent) {
    EXPECT_EQ(ConnectDeviceByName(*trans_, prompt_, "Nope", "0", name_),
              ConnectOutcome::NoSuchInput);
    EXPECT_EQ(ConnectDeviceByName(*trans_, prompt_, "0", "Nope", name_),
              ConnectOutcome::NoSuchOutput);
    EXPECT_TRUE(prompt_.messages.empty());

    device_->EnumeratePorts();
    EXPECT_EQ(ConnectDevice(*trans_, prompt_, 0, 7, name_), ConnectOutcome::CannotOpen);
    EXPECT_EQ(device_->GetInputState(), InputState::Closed);

    EXPECT_EQ(ConnectDevice(*trans_, prompt_, 0, 0, name_), ConnectOutcome::NoAnswer);
    EXPECT_EQ(device_->GetInputState(), InputState::Started);  // the ports stay open
    EXPECT_FALSE(Link().deviceConnected.load());
    EXPECT_EQ(prompt_.messages,
              (std::vector<std::string>{"Device cannot be opened!", "Connect request error!"}));
    EXPECT_TRUE(Link().linkIdle.load());
}

}  // namespace
}  // namespace vantrel::test
