#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedPrompt.h"
#include "cli/CliUploadProgress.h"
#include "combine/TransferProgress.h"

namespace vantrel::cli {
namespace {

// The upload's bar written to a file, as when standard error goes to a log: one plain line per
// tenth. Each line's percentage, in order.
class LoggedUploadProgress : public ::testing::Test {
  protected:
    void SetUp() override {
        log_ = std::tmpfile();
        ASSERT_NE(log_, nullptr);
        view_.emplace(prompt_, true, log_);
        view_->ProgressChanged(progress_);
        view_->ShowProgress(true);
    }
    void TearDown() override {
        view_.reset();
        if (log_)
            std::fclose(log_);
    }

    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            progress_.Step();
            view_->ProgressChanged(progress_);
        }
    }
    void Restart() {
        ++retry_;
        progress_.Restart(retry_, 2);
        view_->ProgressChanged(progress_);
    }
    void Confirm() {
        progress_.Complete();
        view_->ProgressChanged(progress_);
        view_->Message("Download successfully!");
        view_->ShowProgress(false);
    }

    std::string Log() {
        std::fflush(log_);
        std::rewind(log_);
        std::string text;
        char line[256];
        while (std::fgets(line, sizeof line, log_))
            text += line;
        return text;
    }

    std::vector<int> LoggedPercentages() {
        std::fflush(log_);
        std::rewind(log_);
        std::vector<int> percentages;
        char line[256];
        while (std::fgets(line, sizeof line, log_)) {
            const std::string text(line);
            const auto bar = text.find("] ");
            const auto sign = text.find('%');
            if (bar == std::string::npos || sign == std::string::npos)
                continue;
            percentages.push_back(std::stoi(text.substr(bar + 2, sign - bar - 2)));
        }
        return percentages;
    }

    test::ScriptedPrompt prompt_;
    std::FILE* log_ = nullptr;
    TransferProgress progress_;
    std::optional<CliUploadProgress> view_;
    int retry_ = 0;
};

TEST_F(LoggedUploadProgress, ARetryStartsTheLinesAgainFromNothingAndTheMessageStaysTheSame) {
    Steps(300);  // the 301st packet's acknowledge is lost
    Restart();
    Steps(TransferProgress::kImagePackets);
    Confirm();
    EXPECT_EQ(LoggedPercentages(),
              (std::vector<int>{0, 10, 20, 30, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Download successfully!"});
}

TEST_F(LoggedUploadProgress, ARetryWithinTheFirstTenthStillShowsInTheLog) {
    Steps(20);
    Restart();
    Steps(TransferProgress::kImagePackets);
    Restart();  // a second retry after the bar had been held at 98%
    Steps(TransferProgress::kImagePackets);
    Confirm();
    const std::vector<int> expected = {0, 0,  10, 20, 30, 40, 50, 60, 70, 80, 90,
                                       0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    EXPECT_EQ(LoggedPercentages(), expected);
    // Each try after the first says which it is, rather than seeming to start from nothing.
    const std::string log = Log();
    EXPECT_NE(log.find("\nTrying again (1 of 2) [....."), std::string::npos) << log;
    EXPECT_NE(log.find("\nTrying again (2 of 2) [....."), std::string::npos) << log;
}

}  // namespace
}  // namespace vantrel::cli
