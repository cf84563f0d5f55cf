#pragma once

#include <cstddef>
#include <cstdio>

namespace vantrel::cli {

// A text progress bar on a terminal stream, redrawn in place: "[####....]  45% 402/892".
class CliProgressBar {
  public:
    explicit CliProgressBar(std::size_t range, std::FILE* out = stderr, bool showCount = true)
        : range_(range), out_(out), showCount_(showCount) {}
    void Step();
    void SetPosition(std::size_t position);
    // Ends the bar's line (once), whatever the position.
    void Finish();

  private:
    void Draw();

    std::size_t range_;
    std::size_t position_ = 0;
    std::FILE* out_;
    bool showCount_;
    bool drawn_ = false;
};

}  // namespace vantrel::cli
