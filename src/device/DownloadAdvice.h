#pragma once

#include <string>
#include <string_view>

#include "device/CMidiTrans.h"

namespace vantrel {

// The line shown under a download's outcome when the link had trouble keeping up: the download
// needed retries, or it failed because an acknowledge did not come in time. It says what
// happened and where the acknowledge time-out and the retries are set (`settings`: "Link
// settings" in the window, the options on the command line). Empty when there is nothing to say.
std::string DownloadAdvice(const DownloadReport& report, bool stored, std::string_view settings);

}  // namespace vantrel
