#include <gtest/gtest.h>

#include "device/DownloadAdvice.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;

TEST(DownloadAdvice, SaysWhatTheLinkNeededAndWhereToChangeIt) {
    EXPECT_EQ(DownloadAdvice({0, false, milliseconds(100)}, true, "S"), "");
    EXPECT_EQ(DownloadAdvice({1, true, milliseconds(200)}, true, "S"),
              "Stored after 1 retry: an acknowledge from the keyboard came late. If this happens "
              "often, raise the acknowledge time-out (S).");
    EXPECT_EQ(DownloadAdvice({0, true, milliseconds(100)}, false, "--ack-timeout, --retries"),
              "An acknowledge from the keyboard did not come within 100 ms. Raise the "
              "acknowledge time-out or the retries (--ack-timeout, --retries), or check the "
              "cable.");
    EXPECT_EQ(DownloadAdvice({2, true, milliseconds(400)}, false, "S"),
              "An acknowledge from the keyboard did not come within 400 ms, also after 2 "
              "retries. Raise the acknowledge time-out or the retries (S), or check the cable.");
    // A refusal by the keyboard or a cancel is not the link's trouble.
    EXPECT_EQ(DownloadAdvice({1, false, milliseconds(200)}, false, "S"), "");
}

}  // namespace
}  // namespace vantrel
