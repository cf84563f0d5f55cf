#include <gtest/gtest.h>

#include <numeric>

#include "DeviceTestSupport.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "device/CMidiTrans.h"
#include "device/LinkOptions.h"
#include "device/SysExProtocol.h"

namespace vantrel::test {
namespace {

using namespace sysex;

Bytes WithWrongChecksum(Bytes message) {
    message[message.size() - 3] ^= 0x01;
    return message;
}

std::uint8_t CommandOf(const Bytes& message) {
    return message[kCommandOffset];
}

// The protocol over a fake backend: a CMidiTrans handle with its handler registered and the
// link opened on the fake ports.
class CMidiTransTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        trans_ = std::make_unique<CMidiTrans>(prompt_);
        trans_->RegisterHandler();
        device_->EnumeratePorts();
        ASSERT_TRUE(trans_->OpenPorts(0, 0));
    }
    void TearDown() override {
        trans_.reset();
        DeviceTest::TearDown();
    }
    // The computer's requests with the given command, after everything sent has arrived.
    std::vector<Bytes> RequestsWith(std::uint8_t command) {
        backend_->Drain();
        std::vector<Bytes> found;
        for (const auto& request : script_.requests) {
            if (CommandOf(request) == command)
                found.push_back(request);
        }
        return found;
    }

    ScriptedPrompt prompt_;
    std::unique_ptr<CMidiTrans> trans_;
};

TEST_F(CMidiTransTest, OpenPortsFailsCleanlyOnAMissingPort) {
    EXPECT_FALSE(trans_->OpenPorts(0, 5));
    EXPECT_EQ(device_->GetInputState(), InputState::Closed);
    EXPECT_EQ(device_->GetOutputState(), OutputState::Closed);
    EXPECT_TRUE(Link().linkIdle.load());
    EXPECT_TRUE(trans_->OpenPorts(0, 0));
    EXPECT_EQ(device_->GetInputState(), InputState::Started);
}

TEST_F(CMidiTransTest, ConnectReturnsTheDeviceNameCutTo99Bytes) {
    const std::string longName(120, 'K');
    script_.onRequest = [&](const Bytes& request) {
        EXPECT_EQ(request, MakeConnectRequest());
        return std::vector<Bytes>{MakeConnectReply(kStatusOk, longName)};
    };
    std::string name;
    ASSERT_TRUE(trans_->RequestConnect(name));
    EXPECT_EQ(name, longName.substr(0, 99));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::Connected);
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransTest, ConnectRefusalsAndSilenceFail) {
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{MakeConnectReply(kStatusBadChecksum, "x")};
    };
    std::string name = "before";
    EXPECT_FALSE(trans_->RequestConnect(name));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::ConnectFailedStatus2);

    script_.onRequest = [](const Bytes&) { return std::vector<Bytes>{MakeConnectReply(5, "x")}; };
    EXPECT_FALSE(trans_->RequestConnect(name));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::ConnectFailed);

    script_.onRequest = nullptr;
    EXPECT_FALSE(trans_->RequestConnect(name));
    EXPECT_EQ(name, "before");
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransTest, AWrongChecksumIsAnsweredOnceAndTheWaitGoesOn) {
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{WithWrongChecksum(MakeConnectReply(kStatusOk, "Bad")),
                                  MakeConnectReply(kStatusOk, "Good")};
    };
    std::string name;
    ASSERT_TRUE(trans_->RequestConnect(name));
    EXPECT_EQ(name, "Good");
    backend_->Drain();
    ASSERT_EQ(script_.statusReplies.size(), 1u);
    EXPECT_EQ(script_.statusReplies[0], MakeStatusReply(kCommandConnect, false));
    EXPECT_EQ(script_.statusReplies[0][9], 2);
}

TEST_F(CMidiTransTest, ShortAndForeignRepliesAreIgnored) {
    script_.onRequest = [](const Bytes&) {
        Bytes shortOne = MakeConnectReply(kStatusOk, "x");
        shortOne.erase(shortOne.begin() + 8, shortOne.end() - 1);  // 9 bytes: F0 id sig F7
        Bytes emptyRecord = MakePackedMessage(kCommandConnect, {});
        return std::vector<Bytes>{shortOne, emptyRecord, MakeConnectReply(kStatusOk, "Real")};
    };
    std::string name;
    ASSERT_TRUE(trans_->RequestConnect(name));
    EXPECT_EQ(name, "Real");
}

TEST_F(CMidiTransTest, SlotListOfThreeEntriesAndAnEndMark) {
    script_.onRequest = [](const Bytes& request) {
        EXPECT_EQ(request, MakeSlotListRequest());
        return std::vector<Bytes>{
            MakeSlotListEntry(kStatusOk, 0, "Rock"), MakeSlotListEntry(kStatusOk, 1, ""),
            MakeSlotListEntry(kStatusOk, 2, "Waltz"), MakeSlotListEntry(kStatusEndOfList, 0, "")};
    };
    std::vector<std::string> names = {"stale"};
    ASSERT_TRUE(trans_->RequestSlotList(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Rock", "Empty", "Waltz"}));
    backend_->Drain();
    EXPECT_EQ(script_.statusReplies,
              std::vector<Bytes>(3, MakeStatusReply(kCommandSlotList, true)));
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransTest, AnOutOfOrderEntryFailsTheList) {
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{MakeSlotListEntry(kStatusOk, 1, "B"),
                                  MakeSlotListEntry(kStatusOk, 0, "A"),
                                  MakeSlotListEntry(kStatusEndOfList, 0, "")};
    };
    std::vector<std::string> names;
    EXPECT_FALSE(trans_->RequestSlotList(names));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::ListOutOfOrder);
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransTest, DeleteSendsTheSlotAndRefusesSlot256Untouched) {
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{MakeStatusRecordReply(kCommandDelete, kStatusOk)};
    };
    ASSERT_TRUE(trans_->DeleteSlot(200));
    const auto deletes = RequestsWith(kCommandDelete);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0][9], 0x48);
    EXPECT_EQ(deletes[0][10], 0x01);

    const auto sentBefore = backend_->Sent().size();
    Link().linkIdle.store(false);  // a refusal leaves the flag as it found it
    EXPECT_FALSE(trans_->DeleteSlot(256));
    EXPECT_FALSE(Link().linkIdle.load());
    Link().linkIdle.store(true);
    EXPECT_EQ(backend_->Sent().size(), sentBefore);

    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{MakeStatusRecordReply(kCommandDelete, 4)};
    };
    EXPECT_FALSE(trans_->DeleteSlot(3));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::DeleteFailed);
}

TEST_F(CMidiTransTest, AReplyToAnotherCommandFailsTheWait) {
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{MakeStatusRecordReply(kCommandFile, kStatusOk)};
    };
    EXPECT_FALSE(trans_->DeleteSlot(1));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::None);
    EXPECT_TRUE(Link().linkIdle.load());
}

class CMidiTransDownload : public CMidiTransTest {
  protected:
    void SetUp() override {
        CMidiTransTest::SetUp();
        image_.resize(2048);
        std::iota(image_.begin(), image_.end(), std::uint8_t{9});
        WriteBytes(path_, image_);
        device_->SetTransferStep([this] { ++steps_; });
    }
    // Answers the header with `headerStatus` and the data with `dataStatus`.
    void Answer(std::uint8_t headerStatus, std::uint8_t dataStatus) {
        script_.onRequest = [headerStatus, dataStatus](const Bytes& request) {
            const bool header = request.size() == 32;
            return std::vector<Bytes>{
                MakeStatusRecordReply(kCommandFile, header ? headerStatus : dataStatus)};
        };
    }

    ScopedTempDir dir_;
    std::filesystem::path path_ = dir_.Path() / "Total.mix";
    Bytes image_;
    int steps_ = 0;
};

TEST_F(CMidiTransDownload, SendsHeaderThenDataAndStepsOncePerPacket) {
    Answer(kStatusOk, kStatusOk);
    Link().progressEnabled.store(true);
    ASSERT_TRUE(trans_->DownloadFile(path_, 7, CMidiTrans::kDownloadTimeoutMs));
    const auto files = RequestsWith(kCommandFile);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], MakeFileHeaderMessage(7, 2048));
    EXPECT_EQ(files[1], MakeFileDataMessage(image_));
    EXPECT_EQ(steps_, 1 + 90);
    EXPECT_TRUE(Link().linkIdle.load());
    EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(CMidiTransDownload, CapacityRefusalShowsTheTextAndSendsNoData) {
    Answer(kStatusCapacity, kStatusOk);
    EXPECT_FALSE(trans_->DownloadFile(path_, 7, CMidiTrans::kDownloadTimeoutMs));
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Capacity is not allowed!"});
    EXPECT_EQ(RequestsWith(kCommandFile).size(), 1u);
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransDownload, OtherRefusalsFailSilentlyAndFreeTheLink) {
    Answer(3, kStatusOk);
    EXPECT_FALSE(trans_->DownloadFile(path_, 7, 100));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::HeaderRefused);
    EXPECT_EQ(RequestsWith(kCommandFile).size(), 1u);

    Answer(kStatusOk, kStatusBadChecksum);
    EXPECT_FALSE(trans_->DownloadFile(path_, 7, 100));
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::DataFailedStatus2);
    EXPECT_TRUE(prompt_.messages.empty());
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransDownload, AFileThatCannotBeReadOrABadSlotSendsNothing) {
    Answer(kStatusOk, kStatusOk);
    EXPECT_FALSE(trans_->DownloadFile(dir_.Path() / "missing.mix", 7, 100));
    EXPECT_FALSE(trans_->DownloadFile(dir_.Path(), 7, 100));  // a folder
    EXPECT_FALSE(trans_->DownloadFile(path_, 256, 100));
    EXPECT_FALSE(trans_->DownloadFile(path_, -1, 100));
    EXPECT_TRUE(backend_->Sent().empty());
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST_F(CMidiTransDownload, ALostAcknowledgeStopsTheDataAndTheDownloadFailsWithoutRetries) {
    LinkOptions noRetries;
    noRetries.retries = 0;
    ApplyLinkOptions(noRetries);
    Answer(kStatusOk, kStatusOk);
    script_.dropAckOfPacket = 3;  // header, first data packet, then silence
    EXPECT_FALSE(trans_->DownloadFile(path_, 7, 20));
    // The third packet, then only the short packet that ends the data message.
    ASSERT_EQ(backend_->Sent().size(), 4u);
    EXPECT_EQ(backend_->Sent()[3].size(), kClosingPacketSize);
    EXPECT_EQ(trans_->LastDownload().retries, 0);
    EXPECT_TRUE(trans_->LastDownload().lostAcknowledge);
    EXPECT_TRUE(Link().linkIdle.load());
    ApplyLinkOptions({});
}

TEST_F(CMidiTransDownload, ADownloadThatLostAnAcknowledgeStartsAgainFromItsHeader) {
    Answer(kStatusOk, kStatusOk);
    script_.dropAckOfPacket = 3;
    int restarts = 0;
    device_->SetTransferRestart([&restarts](int retry, int retries) {
        ++restarts;
        EXPECT_EQ(retry, 1);
        EXPECT_EQ(retries, 2);
    });
    Link().progressEnabled.store(true);
    EXPECT_TRUE(trans_->DownloadFile(path_, 7, 20));
    Link().progressEnabled.store(false);
    device_->SetTransferRestart({});
    EXPECT_EQ(restarts, 1);
    const auto headers = RequestsWith(kCommandFile);
    ASSERT_GE(headers.size(), 2u);
    // The retry opens with the same file header as the first try.
    EXPECT_EQ(headers[0], MakeFileHeaderMessage(7, static_cast<std::uint32_t>(image_.size())));
    EXPECT_EQ(backend_->Sent()[3].size(), kClosingPacketSize);
    EXPECT_EQ(backend_->Sent()[4].size(), kFileHeaderMessageSize);
    EXPECT_EQ(trans_->LastDownload().retries, 1);
    EXPECT_EQ(trans_->LastDownload().ackTimeout, 2 * LinkOptions::kDefaultAckTimeout);
}

TEST_F(CMidiTransDownload, CancelStopsAfterThePacketInFlightWithoutARetryAndTheNextRequestRuns) {
    Answer(kStatusOk, kStatusOk);
    // The user cancels while packet 30 is on its way (the header was packet 1).
    constexpr std::size_t kCancelAt = 30;
    std::size_t packets = 0;
    backend_->SetResponder(
        [&packets, responder = script_.Responder()](std::span<const std::uint8_t> packet) {
            if (++packets == kCancelAt)
                CancelLink();
            return responder(packet);
        });
    Link().progressEnabled.store(true);
    EXPECT_FALSE(trans_->DownloadFile(path_, 7, CMidiTrans::kDownloadTimeoutMs));
    Link().progressEnabled.store(false);
    EXPECT_TRUE(CMidiTrans::WasCancelled());
    // Nothing after it but the packet that ends the message, and no new header.
    ASSERT_EQ(backend_->Sent().size(), kCancelAt + 1);
    EXPECT_EQ(backend_->Sent().back().size(), kClosingPacketSize);
    EXPECT_EQ(steps_, static_cast<int>(kCancelAt));  // the packet in flight was acknowledged
    EXPECT_TRUE(Link().linkIdle.load());

    // A cancel belongs to the operation it stopped.
    script_.onRequest = [](const Bytes&) {
        return std::vector<Bytes>{MakeStatusRecordReply(kCommandDelete, kStatusOk)};
    };
    EXPECT_TRUE(trans_->DeleteSlot(7));
    EXPECT_FALSE(CMidiTrans::WasCancelled());
}

TEST_F(CMidiTransTest, CancelEndsTheWaitForASlotListThatNeverCompletes) {
    script_.onRequest = [](const Bytes&) {
        CancelLink();  // the user gives up on a keyboard that does not answer
        return std::vector<Bytes>{};
    };
    std::vector<std::string> names;
    EXPECT_FALSE(trans_->RequestSlotList(names));
    EXPECT_TRUE(CMidiTrans::WasCancelled());
    EXPECT_EQ(CMidiTrans::CurrentState(), TransferState::ListRequested);
    EXPECT_TRUE(Link().linkIdle.load());
}

TEST(LinkComplaints, NoComplaintEqualsARequestTheKeyboardActsOn) {
    const std::vector<Bytes> requests = {MakeConnectRequest(), MakeSlotListRequest(),
                                         *MakeDeleteRequest(2), MakeFileDataMessage(Bytes{2})};
    for (int command = 0; command < 0x80; ++command) {
        for (const std::uint32_t pending : {0u, 1u, 20474u}) {
            const auto complaint = MakeComplaint(static_cast<std::uint8_t>(command), pending);
            if (!complaint)
                continue;
            for (const auto& request : requests) {
                EXPECT_NE(*complaint, request) << "command " << command;
            }
            if (command != kCommandFile || pending != 1) {
                EXPECT_EQ(*complaint, MakeStatusReply(static_cast<std::uint8_t>(command), false));
            }
        }
    }
    EXPECT_FALSE(MakeComplaint(kCommandDelete, 0));
    EXPECT_TRUE(MakeComplaint(kCommandConnect, 0));
    EXPECT_TRUE(MakeComplaint(kCommandSlotList, 0));
    EXPECT_TRUE(MakeComplaint(kCommandFile, 20474));
}

TEST(LinkManufacturerId, ParsesThreeDataBytesAndFramesWithThem) {
    EXPECT_EQ(ParseManufacturerId("00,21,3D"), kManufacturerId);
    EXPECT_EQ(ParseManufacturerId("43,0,7f"), (ManufacturerIdBytes{0x43, 0x00, 0x7F}));
    for (const char* bad :
         {"", "00,21", "00,21,3D,00", "00,21,80", "00,,3D", "0x0,21,3D", "000,1,2"})
        EXPECT_FALSE(ParseManufacturerId(bad)) << bad;
    SetManufacturerId({0x00, 0x20, 0x11});
    const Bytes request = MakeConnectRequest();
    EXPECT_EQ(Bytes(request.begin() + 1, request.begin() + 4), (Bytes{0x00, 0x20, 0x11}));
    EXPECT_TRUE(ParseFrame(request));
    SetManufacturerId(kManufacturerId);
    EXPECT_FALSE(ParseFrame(request)) << "a frame of another maker is not the keyboard's";
    EXPECT_EQ(FormatManufacturerId(kManufacturerId), "00,21,3D");
}

}  // namespace
}  // namespace vantrel::test
