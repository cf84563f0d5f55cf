#include "cli/CliProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace vantrel::cli {

namespace {
constexpr std::size_t kWidth = 40;
}

CliProgressBar::CliProgressBar(std::size_t range, std::FILE* out, bool showCount)
    : CliProgressBar(range, out, showCount, ::isatty(::fileno(out)) == 1) {}

void CliProgressBar::Step() {
    SetPosition(position_ + 1);
}

void CliProgressBar::SetPosition(std::size_t position) {
    position_ = std::min(position, range_);
    Draw();
}

void CliProgressBar::Restart(const std::string& caption) {
    // The line of the try that stopped stays, so the user sees how far it got.
    Finish();
    caption_ = caption;
    lastTenth_ = -1;
    SetPosition(0);
}

void CliProgressBar::Draw() {
    if (terminal_) {
        WriteBar("\r", "");
        drawn_ = true;
        return;
    }
    const int tenth = range_ == 0 ? 10 : static_cast<int>(position_ * 10 / range_);
    if (tenth == lastTenth_)
        return;
    lastTenth_ = tenth;
    WriteBar("", "\n");
}

void CliProgressBar::WriteBar(const char* start, const char* end) {
    const std::size_t filled = range_ == 0 ? kWidth : position_ * kWidth / range_;
    const std::size_t percent = range_ == 0 ? 100 : position_ * 100 / range_;
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
    std::fprintf(out_, "%s%s%s[%s] %3zu%%", start, caption_.c_str(), caption_.empty() ? "" : " ",
                 bar.c_str(), percent);
    if (showCount_)
        std::fprintf(out_, " %zu/%zu", position_, range_);
    std::fputs(end, out_);
    std::fflush(out_);
}

void CliProgressBar::Finish() {
    if (!drawn_)
        return;
    std::fputc('\n', out_);
    std::fflush(out_);
    drawn_ = false;
}

}  // namespace vantrel::cli
