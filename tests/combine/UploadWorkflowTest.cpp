#include <gtest/gtest.h>

#include "CombineFixtures.h"
#include "ScriptedPrompt.h"
#include "combine/CombineLists.h"
#include "combine/TransferProgress.h"
#include "combine/UploadWorkflow.h"
#include "common/ScopedTempDir.h"
#include "pattern/StyleImage.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

struct FakeLink final : UploadLink {
    bool ready = true;
    bool stores = true;
    bool cancels = false;
    int steps = TransferProgress::kImagePackets;
    std::vector<std::pair<std::vector<std::uint8_t>, int>> sent;  // file bytes, slot

    bool Ready() const override { return ready; }
    bool Download(const fs::path& image, int slot, const DownloadSteps& report) override {
        sent.emplace_back(test::ReadBytes(image), slot);
        for (int i = 0; i < steps; ++i)
            report.acknowledged();
        return stores;
    }
    bool Cancelled() const override { return cancels; }
    std::string advice;  // the same whatever the outcome
    std::string Advice(bool /*stored*/) const override { return advice; }
};

struct FakeSlots final : SlotListView {
    std::vector<std::string> rows = {"Pop", "Empty", "Empty"};
    std::vector<std::size_t> selected;
    int refreshes = 0;

    std::vector<std::string> Rows() const override { return rows; }
    std::vector<std::size_t> SelectedRows() const override { return selected; }
    void RefreshSlots() override { ++refreshes; }
};

struct FakeProgress final : ProgressView {
    std::vector<bool> visibility;
    std::vector<int> positions;

    void ShowProgress(bool visible) override { visibility.push_back(visible); }
    void ProgressChanged(const TransferProgress& progress) override {
        positions.push_back(progress.Position());
    }
};

class UploadWorkflowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [sub, name] : {std::pair{SubRepository::Intro, "i.mid"},
                                        {SubRepository::Fill, "f.mid"},
                                        {SubRepository::Ending, "e.mid"}}) {
            test::WriteBytes(SubRepositoryFolder(temp_.Path(), sub) / name,
                             test::BarPattern().Encode());
            converter_.Add(name, 500, 1);
        }
        lists_.OnCombine(SubRepository::Intro, {"i.mid"}, prompt_);
        lists_.OnCombine(SubRepository::Fill, {"f.mid"}, prompt_);
        lists_.OnCombine(SubRepository::Ending, {"e.mid"}, prompt_);
    }

    UploadResult Upload() {
        UploadEnvironment env{prompt_, link_, slots_, progress_, converter_.Function()};
        return OnUpload(lists_, temp_.Path(), env);
    }

    ScopedTempDir temp_;
    CombineLists lists_{temp_.Path()};
    test::ScriptedPrompt prompt_;
    test::FakeConverter converter_;
    FakeLink link_;
    FakeSlots slots_;
    FakeProgress progress_;
};

TEST_F(UploadWorkflowTest, ASelectedFreeSlotReceivesTheImageAndTheListIsReadTwice) {
    slots_.selected = {2};
    EXPECT_EQ(Upload(), UploadResult::Stored);
    ASSERT_EQ(link_.sent.size(), 1u);
    EXPECT_EQ(link_.sent[0].second, 2);
    EXPECT_EQ(link_.sent[0].first.size(), kStyleWrittenSize);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Download successfully!"});
    EXPECT_EQ(slots_.refreshes, 2);
    EXPECT_FALSE(fs::exists(temp_.Path() / "Total.mix"));
    EXPECT_EQ(progress_.visibility, (std::vector<bool>{true, false}));
    EXPECT_EQ(progress_.positions.back(), TransferProgress::kImagePackets);
}

TEST_F(UploadWorkflowTest, UsingAnEmptySlotTakesTheFirstFreeOne) {
    prompt_.answers = {PromptAnswer::Yes};
    EXPECT_EQ(Upload(), UploadResult::Stored);
    EXPECT_EQ(prompt_.questions, std::vector<std::string>{"Using empty slot?"});
    ASSERT_EQ(link_.sent.size(), 1u);
    EXPECT_EQ(link_.sent[0].second, 1);
}

TEST_F(UploadWorkflowTest, TheLinkIsCheckedBeforeAnythingElse) {
    link_.ready = false;
    lists_.RemoveEntry(SubRepository::Fill, "f.mid");
    EXPECT_EQ(Upload(), UploadResult::Refused);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Please connect device\xEF\xBC\x81"});
    EXPECT_EQ(slots_.refreshes, 0);
}

TEST_F(UploadWorkflowTest, ATransferFailureReportsAnErrorAndRemovesTheImage) {
    slots_.selected = {1};
    link_.stores = false;
    link_.steps = 40;
    EXPECT_EQ(Upload(), UploadResult::DownloadFailed);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"  Download error!"});
    EXPECT_EQ(progress_.positions.back(), 40);
    EXPECT_EQ(slots_.refreshes, 2);
    EXPECT_FALSE(fs::exists(temp_.Path() / "Total.mix"));
}

TEST_F(UploadWorkflowTest, TheLinksAdviceFollowsTheOutcomeOnItsOwnLineButNotACancel) {
    slots_.selected = {1};
    link_.advice = "Stored after 1 retry.";
    EXPECT_EQ(Upload(), UploadResult::Stored);
    link_.stores = false;
    link_.advice = "Raise the acknowledge time-out.";
    EXPECT_EQ(Upload(), UploadResult::DownloadFailed);
    link_.cancels = true;
    EXPECT_EQ(Upload(), UploadResult::Cancelled);
    EXPECT_EQ(prompt_.shown,
              (std::vector<std::string>{"Download successfully!\nStored after 1 retry.",
                                        "  Download error!\nRaise the acknowledge time-out.",
                                        "Download cancelled"}));
}

TEST_F(UploadWorkflowTest, ACancelledTransferSaysSoAndStillReadsTheListAgain) {
    slots_.selected = {1};
    link_.stores = false;
    link_.cancels = true;
    link_.steps = 300;
    EXPECT_EQ(Upload(), UploadResult::Cancelled);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Download cancelled"});
    EXPECT_EQ(slots_.refreshes, 2);
    EXPECT_FALSE(fs::exists(temp_.Path() / "Total.mix"));
}

TEST_F(UploadWorkflowTest, AFailedIntroStopsBeforeTheTransferAndTheListIsReadOnce) {
    slots_.selected = {1};
    converter_.parts.erase("i.mid");
    EXPECT_EQ(Upload(), UploadResult::BuildFailed);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"File is not supported!"});
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(slots_.refreshes, 1);
    EXPECT_TRUE(progress_.visibility.empty());
}

TEST_F(UploadWorkflowTest, DecliningToOverwriteChangesNothingAndSaysNothing) {
    slots_.selected = {0};
    prompt_.answers = {PromptAnswer::No};
    EXPECT_EQ(Upload(), UploadResult::Refused);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Overwrite?"});
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(slots_.refreshes, 0);
}

TEST_F(UploadWorkflowTest, NoSlotMatchingTheMarkerSendsNothing) {
    UploadEnvironment env{prompt_, link_, slots_, progress_, converter_.Function()};
    EXPECT_EQ(
        BuildAndDownload({"Pop", "Rock"}, temp_.Path(), {"i.mid", "f.mid", "e.mid"}, "Empty", env),
        UploadResult::NoTarget);
    EXPECT_TRUE(prompt_.shown.empty());
    EXPECT_TRUE(converter_.converted.empty());
    EXPECT_EQ(slots_.refreshes, 1);
}

TEST(TransferProgress, NeverShowsFullBeforeTheImageIsConfirmed) {
    TransferProgress progress;
    int highest = 0;
    for (int i = 0; i < TransferProgress::kImagePackets; ++i) {
        progress.Step();
        EXPECT_LE(progress.Percent(), 98);
        highest = std::max(highest, progress.Position());
    }
    EXPECT_EQ(highest, 883);
    EXPECT_GE(progress.Position(), 874);
    progress.Complete();
    EXPECT_EQ(progress.Position(), 892);
    EXPECT_EQ(progress.Percent(), 100);
}

}  // namespace
}  // namespace vantrel
