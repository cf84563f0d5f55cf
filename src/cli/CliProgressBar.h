#pragma once

#include <cstddef>
#include <cstdio>

namespace vantrel::cli {

// A text progress bar on a terminal stream, redrawn in place on each step.
class CliProgressBar {
  public:
    CliProgressBar(std::size_t range, std::FILE* out = stderr) : range_(range), out_(out) {}
    void Step();
    // Ends the bar's line (once), whatever the position.
    void Finish();

  private:
    void Draw();

    std::size_t range_;
    std::size_t position_ = 0;
    std::FILE* out_;
    bool drawn_ = false;
};

}  // namespace vantrel::cli
