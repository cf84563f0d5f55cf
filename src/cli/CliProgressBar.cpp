#include "cli/CliProgressBar.h"

#include <algorithm>
#include <string>

namespace vantrel::cli {

namespace {
constexpr std::size_t kWidth = 40;
}

void CliProgressBar::Step() { SetPosition(position_ + 1); }

void CliProgressBar::SetPosition(std::size_t position) {
    position_ = std::min(position, range_);
    Draw();
}

void CliProgressBar::Draw() {
    const std::size_t filled = range_ == 0 ? kWidth : position_ * kWidth / range_;
    const std::size_t percent = range_ == 0 ? 100 : position_ * 100 / range_;
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
    std::fprintf(out_, "\r[%s] %3zu%%", bar.c_str(), percent);
    if (showCount_)
        std::fprintf(out_, " %zu/%zu", position_, range_);
    std::fflush(out_);
    drawn_ = true;
}

void CliProgressBar::Finish() {
    if (!drawn_)
        return;
    std::fputc('\n', out_);
    std::fflush(out_);
    drawn_ = false;
}

}  // namespace vantrel::cli
