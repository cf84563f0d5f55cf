#pragma once

#include <cstdio>

#include "combine/UploadPorts.h"

namespace vantrel::cli {

// The download pane's progress bar on a terminal: redrawn in place with the position the
// upload reports (held below full until the keyboard confirms the image).
class CliUploadProgress final : public ProgressView {
  public:
    explicit CliUploadProgress(bool enabled, std::FILE* out = stderr)
        : enabled_(enabled), out_(out) {}

    void ShowProgress(bool visible) override;
    void ProgressChanged(const TransferProgress& progress) override;

  private:
    bool enabled_;
    std::FILE* out_;
    bool visible_ = false;
    int lastPercent_ = -1;
};

}  // namespace vantrel::cli
