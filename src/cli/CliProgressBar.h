#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace vantrel::cli {

// A text progress bar: "[####....]  45% 402/892". On a terminal it is redrawn in place; on
// anything else (a pipe, a log file) it writes one plain line each time the bar passes another
// tenth, so a log holds at most eleven lines, not a redraw per step.
class CliProgressBar {
  public:
    explicit CliProgressBar(std::size_t range, std::FILE* out = stderr, bool showCount = true);
    CliProgressBar(std::size_t range, std::FILE* out, bool showCount, bool terminal)
        : range_(range), out_(out), showCount_(showCount), terminal_(terminal) {}
    void Step();
    void SetPosition(std::size_t position);
    // Back to 0 when a download starts again, on a line of its own that opens with `caption`
    // ("Trying again (1 of 2)"); a plain log gets its own "0%" line for it.
    void Restart(const std::string& caption = {});
    // Ends the bar's line (once), whatever the position.
    void Finish();

  private:
    void Draw();
    void WriteBar(const char* start, const char* end);

    std::size_t range_;
    std::size_t position_ = 0;
    std::FILE* out_;
    bool showCount_;
    bool terminal_;
    bool drawn_ = false;
    std::string caption_;
    // The last tenth written as a plain line; none yet.
    int lastTenth_ = -1;
};

}  // namespace vantrel::cli
