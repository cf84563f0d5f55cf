#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "CombineFixtures.h"
#include "ScriptedPrompt.h"
#include "combine/CombineLists.h"
#include "combine/DeviceUploadLink.h"
#include "combine/TransferProgress.h"
#include "combine/UploadWorkflow.h"
#include "common/ScopedTempDir.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/DeviceConnector.h"
#include "device/LinkState.h"
#include "keyboard/VirtualKeyboardBackend.h"
#include "pattern/StyleImage.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

struct RecordedProgress final : ProgressView {
    int changes = 0;
    int last = -1;
    int highestBeforeLast = 0;
    std::vector<int> positions;
    void ShowProgress(bool) override {}
    void ProgressChanged(const TransferProgress& progress) override {
        ++changes;
        if (last > highestBeforeLast)
            highestBeforeLast = last;
        last = progress.Position();
        positions.push_back(last);
    }
};

// The whole upload of the example style into the in-process virtual keyboard: repository,
// combine lists, checks, slot choice, build, transfer and the slot list read again.
class KeyboardUploadTest : public ::testing::Test {
  protected:
    void Start(KeyboardOptions options = {}) {
        Link().linkIdle.store(true);
        backend_ = std::make_shared<VirtualKeyboardBackend>(std::move(options));
        ASSERT_TRUE(backend_->Ready());
        trans_ = std::make_unique<CMidiTrans>(prompt_);
        trans_->Device().SetBackend(backend_);
        std::string device;
        ASSERT_EQ(ConnectDeviceByName(*trans_, prompt_, kVirtualKeyboardName, kVirtualKeyboardName,
                                      device),
                  ConnectOutcome::Connected);
        slots_ = std::make_unique<DeviceSlotList>(*trans_, prompt_);
        slots_->RefreshSlots();
        link_ = std::make_unique<DeviceUploadLink>(*trans_);

        const std::vector<std::pair<SubRepository, std::vector<std::string>>> parts = {
            {SubRepository::Intro, {"intro.mid"}},
            {SubRepository::Fill, {"fill1.mid", "fill2.mid", "fill3.mid"}},
            {SubRepository::Ending, {"ending.mid"}}};
        for (const auto& [sub, names] : parts) {
            for (const std::string& name : names) {
                test::WriteBytes(SubRepositoryFolder(temp_.Path(), sub) / name,
                                 test::ReadBytes(test::ExamplesFolder() / name));
            }
            lists_.OnCombine(sub, names, prompt_);
        }
    }
    void TearDown() override {
        if (trans_)
            trans_->Device().SetBackend(nullptr);
        Link().deviceConnected.store(false);
        slots_.reset();
        link_.reset();
        trans_.reset();
        backend_.reset();
    }

    UploadResult Upload() {
        UploadEnvironment env{prompt_, *link_, *slots_, progress_};
        return OnUpload(lists_, temp_.Path(), env);
    }

    // Everything in the repository besides the five parts.
    std::vector<fs::path> Leftovers() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(temp_.Path())) {
            if (entry.is_regular_file() && entry.path().extension() != ".mid") {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    ScopedTempDir temp_;
    CombineLists lists_{temp_.Path()};
    test::ScriptedPrompt prompt_;
    RecordedProgress progress_;
    std::shared_ptr<VirtualKeyboardBackend> backend_;
    std::unique_ptr<CMidiTrans> trans_;
    std::unique_ptr<DeviceSlotList> slots_;
    std::unique_ptr<DeviceUploadLink> link_;
};

TEST_F(KeyboardUploadTest, TheExampleStyleIsStoredInTheSelectedSlot) {
    Start();
    ASSERT_EQ(slots_->Rows().size(), 16u);
    slots_->Select({3});
    prompt_.shown.clear();
    ASSERT_EQ(Upload(), UploadResult::Stored);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Download successfully!"});

    const auto stored = backend_->Keyboard().Slot(3);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->image.size(), kStyleWrittenSize);
    const StyleImageVerdict verdict = ValidateStyleImage(stored->image);
    EXPECT_TRUE(verdict) << verdict.reason;
    EXPECT_NE(slots_->Rows()[3], "Empty");

    // One change before the transfer, one per acknowledged packet, one for the confirmation.
    EXPECT_EQ(progress_.changes, TransferProgress::kImagePackets + 2);
    EXPECT_EQ(progress_.last, TransferProgress::kImagePackets);
    EXPECT_LT(progress_.highestBeforeLast, TransferProgress::kImagePackets);
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(KeyboardUploadTest, ALostAcknowledgeStartsTheBarAgainFromNothing) {
    constexpr int kDropped = 300;
    Start();
    // Counted from here: the header is packet 1 of the upload.
    KeyboardFaults faults;
    faults.dropAckOfPacket = kDropped;
    backend_->Keyboard().SetFaults(faults);
    slots_->Select({2});
    prompt_.shown.clear();
    ASSERT_EQ(Upload(), UploadResult::Stored);
    // The outcome says that it took a retry, and where the wait is set.
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].substr(0, prompt_.shown[0].find('\n')), "Download successfully!");
    EXPECT_NE(prompt_.shown[0].find("Stored after 1 retry"), std::string::npos);
    EXPECT_NE(prompt_.shown[0].find("Link settings"), std::string::npos);
    ASSERT_TRUE(backend_->Keyboard().Slot(2));
    EXPECT_EQ(backend_->Keyboard().Slot(2)->image.size(), kStyleWrittenSize);

    // 0, then one step per acknowledged packet up to the one before the lost acknowledge, back
    // to 0 for the second try, its 892 steps (held below full), and full on the confirmation.
    const std::vector<int>& seen = progress_.positions;
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(1 + (kDropped - 1) + 1 +
                                                    TransferProgress::kImagePackets + 1));
    for (int i = 0; i < kDropped; ++i)
        ASSERT_EQ(seen[i], i) << "at change " << i;
    EXPECT_EQ(seen[kDropped], 0);
    EXPECT_EQ(seen[kDropped + 1], 1);
    EXPECT_LT(*std::max_element(seen.begin() + kDropped, seen.end() - 1),
              TransferProgress::kImagePackets);
    EXPECT_EQ(seen.back(), TransferProgress::kImagePackets);
}

TEST_F(KeyboardUploadTest, AnOccupiedSlotIsOverwrittenOnlyAfterYes) {
    Start();
    slots_->Select({0});
    ASSERT_EQ(Upload(), UploadResult::Stored);
    const auto first = backend_->Keyboard().Slot(0);
    ASSERT_TRUE(first);

    lists_.RemoveEntry(SubRepository::Fill, "fill2.mid");
    slots_->Select({0});
    prompt_.shown.clear();
    prompt_.answers = {PromptAnswer::No};
    EXPECT_EQ(Upload(), UploadResult::Refused);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Overwrite?"});
    EXPECT_EQ(backend_->Keyboard().Slot(0)->image, first->image);

    slots_->Select({0});
    prompt_.answers = {PromptAnswer::Yes};
    EXPECT_EQ(Upload(), UploadResult::Stored);
    EXPECT_NE(backend_->Keyboard().Slot(0)->image, first->image);
}

TEST_F(KeyboardUploadTest, AKeyboardWithoutRoomRefusesAndNothingIsLeftBehind) {
    KeyboardOptions options;
    options.capacity = 1000;
    Start(options);
    prompt_.answers = {PromptAnswer::Yes};
    prompt_.shown.clear();
    EXPECT_EQ(Upload(), UploadResult::DownloadFailed);
    EXPECT_EQ(prompt_.shown,
              (std::vector<std::string>{"Using empty slot?", "Capacity is not allowed!",
                                        "  Download error!"}));
    EXPECT_FALSE(backend_->Keyboard().Slot(0));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(KeyboardUploadTest, WithoutAConnectionNothingIsAsked) {
    Start();
    Link().deviceConnected.store(false);
    prompt_.shown.clear();
    EXPECT_EQ(Upload(), UploadResult::Refused);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Please connect device\xEF\xBC\x81"});
}

}  // namespace
}  // namespace vantrel
