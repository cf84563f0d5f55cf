#include "device/DownloadAdvice.h"

namespace vantrel {

namespace {

std::string Retries(int count) {
    return std::to_string(count) + (count == 1 ? " retry" : " retries");
}

}  // namespace

std::string DownloadAdvice(const DownloadReport& report, bool stored, std::string_view settings) {
    const std::string wait = std::to_string(report.ackTimeout.count()) + " ms";
    if (stored) {
        if (report.retries == 0)
            return {};
        return "Stored after " + Retries(report.retries) +
               ": an acknowledge from the keyboard came late. If this happens often, raise "
               "the acknowledge time-out (" +
               std::string(settings) + ").";
    }
    if (!report.lostAcknowledge)
        return {};
    std::string text = "An acknowledge from the keyboard did not come within " + wait;
    if (report.retries > 0)
        text += ", also after " + Retries(report.retries);
    return text + ". Raise the acknowledge time-out or the retries (" + std::string(settings) +
           "), or check the cable.";
}

}  // namespace vantrel
