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

TEST_F(ConnectDeviceTest, AnInputThatReturnsWhatWasSentIsALoopAndNeverAConnect) {
    // The output is wired back to the input: each packet comes back as it went, and nothing
    // acknowledges it.
    backend_->SetResponder([](std::span<const std::uint8_t> packet) {
        return std::vector<Bytes>{Bytes(packet.begin(), packet.end())};
    });
    device_->EnumeratePorts();
    EXPECT_EQ(ConnectDevice(*trans_, prompt_, 0, 0, name_), ConnectOutcome::Loop);
    EXPECT_FALSE(Link().deviceConnected.load());
    ASSERT_EQ(prompt_.messages.size(), 1u);
    EXPECT_EQ(prompt_.messages[0],
              "Connect request error!\nThe input \"Fake In\" returns what Vantrel sends to the "
              "output \"Fake Out\": the two are wired to each other (a loop), not to a keyboard. "
              "Choose the keyboard's own input and output.");
}

TEST_F(ConnectDeviceTest, AReplyThatEqualsTheRequestAfterItsAcknowledgeIsAnAnswer) {
    // The reply to "delete slot 0" (15h, status 0) is byte for byte the request.
    script_.onRequest = [](const Bytes& request) { return std::vector<Bytes>{request}; };
    trans_->RegisterHandler();
    device_->EnumeratePorts();
    ASSERT_TRUE(trans_->OpenPorts(0, 0));
    EXPECT_TRUE(trans_->DeleteSlot(0));
    EXPECT_EQ(device_->EchoesHeard(), 0u);
}

TEST(SuggestPortPair, TakesTheLastChoiceByNameElseTheNewestClientWithBothPorts) {
    // Under JACK one program's input and output may sit in two clients, "prog" and "prog-01".
    const auto inputs =
        Ports({"Midi Through:Port-0", "synth:out", "Vantrel Virtual Keyboard",
               "vantrel-keyboard-01:Vantrel Keyboard", "vantrel-keyboard-03:Second Keyboard"});
    const auto outputs =
        Ports({"Midi Through:Port-0", "Vantrel Virtual Keyboard",
               "vantrel-keyboard-02:Second Keyboard", "vantrel-keyboard:Vantrel Keyboard"});
    const char* fallback = "Vantrel Virtual Keyboard";
    // Chosen before, and still there, wherever it is listed now.
    EXPECT_EQ(SuggestPortPair(inputs, outputs, "vantrel-keyboard-01:Vantrel Keyboard",
                              "vantrel-keyboard:Vantrel Keyboard", fallback),
              (PortPair{3, 3}));
    // Else the device listed last that has both; never a mix of two devices.
    EXPECT_EQ(SuggestPortPair(inputs, outputs, "gone:in", "gone:out", fallback), (PortPair{4, 2}));
    // Only the in-process keyboard and a client with both ports: the other client.
    EXPECT_EQ(SuggestPortPair(std::span(inputs).first(4), outputs, "", "", fallback),
              (PortPair{3, 3}));
    // The in-process keyboard when nothing else has both.
    EXPECT_EQ(SuggestPortPair(Ports({"synth:out", "Vantrel Virtual Keyboard"}),
                              Ports({"Vantrel Virtual Keyboard", "other:in"}), "", "", fallback),
              (PortPair{1, 0}));
    EXPECT_EQ(SuggestPortPair(Ports({"synth:out"}), Ports({"other:in"}), "", "", fallback),
              std::nullopt);
    EXPECT_EQ(SuggestPortPair(Ports({"Midi Through:Port-0"}), Ports({"Midi Through:Port-0"}), "",
                              "", fallback),
              std::nullopt);
}

}  // namespace
}  // namespace vantrel::test
