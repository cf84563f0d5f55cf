#pragma once

#include <cstdio>

#include "cli/CliProgressBar.h"
#include "combine/UploadPorts.h"
#include "common/UserPrompt.h"

namespace vantrel::cli {

// The download pane's progress bar on a terminal, redrawn in place with the position the upload
// reports (held below full until the keyboard confirms the image, back to 0 when the download
// starts again from its header). Messages and questions pass
// through it to the terminal prompt, so a bar line is ended before any text is shown.
class CliUploadProgress final : public ProgressView, public UserPrompt {
  public:
    CliUploadProgress(UserPrompt& prompt, bool enabled, std::FILE* out = stderr)
        : prompt_(prompt), enabled_(enabled), bar_(100, out, false) {}

    void ShowProgress(bool visible) override;
    void ProgressChanged(const TransferProgress& progress) override;

    void Message(const std::string& text) override;
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override;
    void MessageWithDetail(const std::string& text, const std::string& detail) override;
    PromptAnswer AskWithDetail(const std::string& text, PromptButtons buttons,
                               const std::string& detail) override;

  private:
    UserPrompt& prompt_;
    bool enabled_;
    CliProgressBar bar_;
    bool visible_ = false;
    int lastPercent_ = -1;
    int restarts_ = 0;
};

}  // namespace vantrel::cli
