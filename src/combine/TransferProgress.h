#pragma once

#include <string>

namespace vantrel {

// The download's progress: one step per acknowledged packet. Sending the 20474-byte style image
// takes 892 acknowledged packets (a header packet and 891 data packets), so the range is 0..892.
// The bar never shows full before the keyboard has confirmed the image: a step that reaches 99%
// falls back to 98% of the range (874), and only Complete sets the full range. A download that
// lost an acknowledge goes out again from its file header: the bar starts again from 0 and says
// so ("Trying again (1 of 2)"), so that it does not seem to have lost the user's data.
class TransferProgress {
  public:
    static constexpr int kImagePackets = 892;

    explicit TransferProgress(int range = kImagePackets) : range_(range > 0 ? range : 1) {}

    void Step();
    void Complete() { position_ = range_; }
    // The download starts again from its header: retry `retry` of the `retries` allowed.
    void Restart(int retry, int retries) {
        position_ = 0;
        ++restarts_;
        caption_ =
            "Trying again (" + std::to_string(retry) + " of " + std::to_string(retries) + ")";
    }
    // What a view shows beside the percentage: empty on the first try.
    const std::string& Caption() const { return caption_; }

    int Position() const { return position_; }
    int Range() const { return range_; }
    // Position as a whole percentage of the range, truncated.
    int Percent() const;
    // How often the download has started again; a view that keeps its own state (a log that
    // writes one line per tenth) learns of a restart here.
    int Restarts() const { return restarts_; }

  private:
    int range_;
    int position_ = 0;
    int restarts_ = 0;
    std::string caption_;
};

}  // namespace vantrel
