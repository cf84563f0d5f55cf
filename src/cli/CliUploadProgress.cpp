#include "cli/CliUploadProgress.h"

#include <string>

#include "combine/TransferProgress.h"

namespace vantrel::cli {

void CliUploadProgress::ShowProgress(bool visible) {
    if (!visible)
        bar_.Finish();
    visible_ = visible && enabled_;
    lastPercent_ = -1;
    restarts_ = 0;
}

void CliUploadProgress::ProgressChanged(const TransferProgress& progress) {
    if (visible_ && progress.Restarts() != restarts_) {
        restarts_ = progress.Restarts();
        lastPercent_ = progress.Percent();
        bar_.Restart(progress.Caption());
        return;
    }
    // Redrawn only when the percentage moves: one update per percent, not per packet.
    if (!visible_ || progress.Percent() == lastPercent_)
        return;
    lastPercent_ = progress.Percent();
    bar_.SetPosition(static_cast<std::size_t>(lastPercent_));
}

void CliUploadProgress::Message(const std::string& text) {
    bar_.Finish();
    prompt_.Message(text);
}

PromptAnswer CliUploadProgress::Ask(const std::string& text, PromptButtons buttons) {
    bar_.Finish();
    return prompt_.Ask(text, buttons);
}

void CliUploadProgress::MessageWithDetail(const std::string& text, const std::string& detail) {
    bar_.Finish();
    prompt_.MessageWithDetail(text, detail);
}

PromptAnswer CliUploadProgress::AskWithDetail(const std::string& text, PromptButtons buttons,
                                              const std::string& detail) {
    bar_.Finish();
    return prompt_.AskWithDetail(text, buttons, detail);
}

}  // namespace vantrel::cli
