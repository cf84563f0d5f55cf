#include "cli/CliUploadProgress.h"

#include <string>

#include "combine/TransferProgress.h"

namespace vantrel::cli {

namespace {
constexpr int kBarWidth = 50;
}

void CliUploadProgress::ShowProgress(bool visible) {
    if (!visible)
        EndLine();
    visible_ = visible && enabled_;
    lastPercent_ = -1;
}

void CliUploadProgress::ProgressChanged(const TransferProgress& progress) {
    // Redrawn only when the percentage moves: one update per percent, not per packet.
    if (!visible_ || progress.Percent() == lastPercent_)
        return;
    lastPercent_ = progress.Percent();
    const int filled = lastPercent_ * kBarWidth / 100;
    std::fprintf(out_, "\rUpload |%s%s| %3d%%", std::string(filled, '=').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), lastPercent_);
    std::fflush(out_);
    lineOpen_ = true;
}

void CliUploadProgress::EndLine() {
    if (!lineOpen_)
        return;
    std::fputc('\n', out_);
    std::fflush(out_);
    lineOpen_ = false;
}

void CliUploadProgress::Message(const std::string& text) {
    EndLine();
    prompt_.Message(text);
}

PromptAnswer CliUploadProgress::Ask(const std::string& text, PromptButtons buttons) {
    EndLine();
    return prompt_.Ask(text, buttons);
}

}  // namespace vantrel::cli
