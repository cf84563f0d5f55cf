#include "cli/CliUploadProgress.h"

#include <string>

#include "combine/TransferProgress.h"

namespace vantrel::cli {

namespace {
constexpr int kBarWidth = 50;
}

void CliUploadProgress::ShowProgress(bool visible) {
    if (!enabled_)
        return;
    if (visible_ && !visible) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    visible_ = visible;
    lastPercent_ = -1;
}

void CliUploadProgress::ProgressChanged(const TransferProgress& progress) {
    // Redraw only when the percentage moves: one line update per percent, not per packet.
    if (!enabled_ || !visible_ || progress.Percent() == lastPercent_)
        return;
    lastPercent_ = progress.Percent();
    const int filled = lastPercent_ * kBarWidth / 100;
    std::fprintf(out_, "\rUpload |%s%s| %3d%%", std::string(filled, '=').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), lastPercent_);
    std::fflush(out_);
}

}  // namespace vantrel::cli
