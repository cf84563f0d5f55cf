#include "cli/CliProgressBar.h"

#include <algorithm>
#include <string>

namespace vantrel::cli {

namespace {
constexpr std::size_t kWidth = 40;
}

void CliProgressBar::Step() {
    if (position_ < range_)
        ++position_;
    Draw();
}

void CliProgressBar::Draw() {
    const std::size_t filled = range_ == 0 ? kWidth : position_ * kWidth / range_;
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
    std::fprintf(out_, "\r[%s] %zu/%zu", bar.c_str(), position_, range_);
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
