#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CableFarEnd.h"
#include "KeyboardTestSupport.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/DeviceConnector.h"
#include "device/LinkState.h"
#include "device/SysExProtocol.h"
#include "device/winmm/WinMmBackend.h"

namespace vantrel {
namespace {

using Packets = std::vector<std::vector<std::uint8_t>>;

Packets Concat(Packets first, const Packets& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The device protocol through the real WinMM calls: the port layer opens the test cable, at
// whose far end sits the in-process virtual keyboard.
class WinMmLink : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::Cable().Loaded())
            << "the test cable winmm.dll is not loaded (WINEDLLOVERRIDES=winmm=n,b)";
        test::Cable().setChunk(0);
        test::Cable().setBusy(0, 0);
        Link().linkIdle.store(true);
        farEnd_ = std::make_unique<test::KeyboardOnCable>();
        trans_ = std::make_unique<CMidiTrans>(prompt_);
        trans_->Device().SetBackend(MakeWinMmBackend());
        std::string name;
        ASSERT_EQ(
            ConnectDeviceByName(*trans_, prompt_, "Vantrel Test Cable", "Vantrel Test Cable", name),
            ConnectOutcome::Connected);
        EXPECT_EQ(name, kVirtualKeyboardName);
        image_ = temp_.Path() / "Total.mix";
        test::WriteBytes(image_, test::WellFormedImage());
    }
    void TearDown() override {
        if (trans_)
            trans_->Device().SetBackend(nullptr);
        Link().deviceConnected.store(false);
        trans_.reset();
        farEnd_.reset();
    }

    // The packets of the upload of the image into `slot`, after those of the connect.
    Packets UploadPackets(std::size_t skip) const {
        const Packets all = farEnd_->Packets();
        return Packets(all.begin() + static_cast<std::ptrdiff_t>(skip), all.end());
    }
    Packets ExpectedUpload(std::uint8_t slot) const {
        const auto& image = test::WellFormedImage();
        return Concat(test::Packets(sysex::MakeFileHeaderMessage(
                          slot, static_cast<std::uint32_t>(image.size()))),
                      test::Packets(sysex::MakeFileDataMessage(image)));
    }

    ScopedTempDir temp_;
    std::filesystem::path image_;
    test::ScriptedPrompt prompt_;
    std::unique_ptr<test::KeyboardOnCable> farEnd_;
    std::unique_ptr<CMidiTrans> trans_;
};

TEST_F(WinMmLink, TheSlotListComesEntryByEntry) {
    std::vector<std::string> names;
    ASSERT_TRUE(trans_->RequestSlotList(names));
    ASSERT_EQ(names.size(), 16u);
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(WinMmLink, AWholeUploadGoesOutAsTheExactPacketsAndIsStored) {
    const std::size_t before = farEnd_->Packets().size();
    ASSERT_TRUE(trans_->DownloadFile(image_, 3, CMidiTrans::kDownloadTimeoutMs));
    const Packets sent = UploadPackets(before);
    EXPECT_EQ(sent.size(), CMidiTrans::DownloadPacketCount(test::WellFormedImage().size()));
    EXPECT_TRUE(sent == ExpectedUpload(3));
    const auto stored = farEnd_->Keyboard().Slot(3);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->image, test::WellFormedImage());
}

TEST_F(WinMmLink, ALostAcknowledgeSendsTheWholeUploadAgain) {
    constexpr std::uint32_t kLost = 40;
    KeyboardFaults faults;
    faults.dropAckOfPacket = kLost;
    farEnd_->Keyboard().SetFaults(faults);
    const std::size_t before = farEnd_->Packets().size();
    ASSERT_TRUE(trans_->DownloadFile(image_, 5, CMidiTrans::kDownloadTimeoutMs));
    const Packets expected = ExpectedUpload(5);
    const Packets sent = UploadPackets(before);
    ASSERT_EQ(sent.size(), kLost + expected.size());
    EXPECT_TRUE(Packets(sent.begin(), sent.begin() + kLost) ==
                Packets(expected.begin(), expected.begin() + kLost));
    EXPECT_TRUE(Packets(sent.begin() + kLost, sent.end()) == expected);
    ASSERT_TRUE(farEnd_->Keyboard().Slot(5));
}

TEST_F(WinMmLink, CancelStopsAfterThePacketUnderWayAndTheSlotKeepsWhatItHeld) {
    const std::size_t before = farEnd_->Packets().size();
    farEnd_->CancelAfterPacket(before + 10);
    EXPECT_FALSE(trans_->DownloadFile(image_, 7, CMidiTrans::kDownloadTimeoutMs));
    EXPECT_TRUE(CMidiTrans::WasCancelled());
    EXPECT_EQ(UploadPackets(before).size(), 10u);
    EXPECT_FALSE(farEnd_->Keyboard().Slot(7));

    // The link is usable again at once.
    std::vector<std::string> names;
    EXPECT_TRUE(trans_->RequestSlotList(names));
}

}  // namespace
}  // namespace vantrel
