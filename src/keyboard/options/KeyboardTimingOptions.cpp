#include "keyboard/options/KeyboardTimingOptions.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace vantrel {

namespace {

// Longer pauses than a minute are no test of anything but patience.
constexpr std::uint32_t kMaxMilliseconds = 60'000;

std::optional<std::uint32_t> Number(std::string_view text, std::uint32_t max) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty() || value > max)
        return std::nullopt;
    return value;
}

// "A:B" (B optional when `secondOptional`) as two numbers.
std::pair<std::uint32_t, std::uint32_t> Pair(const std::string& option, const std::string& text,
                                             std::uint32_t maxFirst, bool secondOptional,
                                             const std::string& form) {
    const auto colon = text.find(':');
    const auto first = Number(std::string_view(text).substr(0, colon), maxFirst);
    std::optional<std::uint32_t> second = 0;
    if (colon != std::string::npos) {
        second = Number(std::string_view(text).substr(colon + 1), kMaxMilliseconds);
    } else if (!secondOptional) {
        second.reset();
    }
    if (!first || !second) {
        throw CLI::ValidationError(option, "expected " + form + ", got \"" + text + "\"");
    }
    return {*first, *second};
}

}  // namespace

std::vector<CLI::Option*> AddKeyboardTimingOptions(CLI::App& app, KeyboardTiming& timing,
                                                   const std::string& group) {
    using std::chrono::milliseconds;
    std::vector<CLI::Option*> options;
    options.push_back(
        app.add_option_function<std::string>(
               "--ack-delay",
               [&timing](const std::string& text) {
                   const auto [delay, jitter] =
                       Pair("--ack-delay", text, kMaxMilliseconds, true, "MS or MS:JITTER");
                   timing.ackDelay = milliseconds{delay};
                   timing.ackJitter = milliseconds{jitter};
               },
               "Send every acknowledge MS milliseconds late, give or take up to JITTER "
               "(evenly spread)")
            ->type_name("MS[:JITTER]")
            ->group(group));
    options.push_back(app.add_flag("--din", timing.din,
                                   "Carry both directions at 3,125 bytes/s, as a DIN MIDI cable "
                                   "does: a packet counts only when its last byte is in, and "
                                   "messages leave one after the other")
                          ->group(group));
    options.push_back(
        app.add_option_function<std::string>(
               "--stall",
               [&timing](const std::string& text) {
                   const auto [packet, ms] = Pair("--stall", text, UINT32_MAX, false, "K:MS");
                   if (packet == 0 || ms == 0)
                       throw CLI::ValidationError("--stall", "K and MS count from 1");
                   timing.stallAfterPacket = packet;
                   timing.stallFor = milliseconds{ms};
               },
               "After the K-th packet received (counted from 1) answer nothing for MS "
               "milliseconds, then go on; packets arriving meanwhile are lost")
            ->type_name("K:MS")
            ->group(group));
    options.push_back(app.add_option("--unplug", timing.unplugAfterPacket,
                                     "Vanish after the K-th packet received (counted from 1): "
                                     "no acknowledge and no reply, ever")
                          ->check(CLI::PositiveNumber.description(""))
                          ->type_name("K")
                          ->group(group));
    options.push_back(
        app.add_option_function<std::uint32_t>(
               "--busy-reply", [&timing](std::uint32_t ms) { timing.busyReply = milliseconds{ms}; },
               "Send every reply MS milliseconds late, as a keyboard busy writing its memory; "
               "what it sends after a reply waits for it")
            ->check(CLI::Range(std::uint32_t{0}, kMaxMilliseconds).description(""))
            ->type_name("MS")
            ->group(group));
    return options;
}

CLI::Option* AddLateAcknowledgeOption(CLI::App& app, KeyboardFaults& faults,
                                      const std::string& group) {
    return app
        .add_option_function<std::string>(
            "--late-ack",
            [&faults](const std::string& text) {
                const auto [every, ms] = Pair("--late-ack", text, UINT32_MAX, false, "EVERY:MS");
                if (every == 0)
                    throw CLI::ValidationError("--late-ack", "EVERY counts from 1");
                faults.lateAckEvery = every;
                faults.lateAckBy = std::chrono::milliseconds{ms};
            },
            "Send every EVERY-th acknowledge (counted from 1) MS milliseconds late, as a loaded "
            "system now and then does; 100:150 is one in a hundred, 150 ms late")
        ->type_name("EVERY:MS")
        ->group(group);
}

}  // namespace vantrel
