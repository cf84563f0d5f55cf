#include "cli/CliLinkOptions.h"

#include <memory>
#include <string>

namespace vantrel::cli {

void AddLinkOptions(CLI::App& command, DevicePorts& ports) {
    LinkOptions& link = ports.link;
    const std::string group = "Link (for slow cables and keyboards)";
    command
        .add_option_function<int>(
            "--ack-timeout", [&link](int ms) { link.ackTimeout = std::chrono::milliseconds(ms); },
            "How long each packet's acknowledge is awaited, in ms (default 100)")
        ->check(CLI::Range(1, static_cast<int>(LinkOptions::kMaxAckTimeout.count())))
        ->group(group);
    command
        .add_option("--retries", link.retries,
                    "How often a download that lost an acknowledge is sent again from its "
                    "header (default 2), each time waiting twice as long for every acknowledge "
                    "(at most 10000 ms); a refusal by the keyboard is never retried")
        ->check(CLI::Range(0, LinkOptions::kMaxRetries))
        ->group(group);
    command
        .add_option_function<int>(
            "--packet-gap", [&link](int ms) { link.packetGap = std::chrono::milliseconds(ms); },
            "Pause after each acknowledge before the next packet, in ms (default 0)")
        ->check(CLI::Range(0, static_cast<int>(LinkOptions::kMaxPacketGap.count())))
        ->group(group);
    command
        .add_option_function<std::string>(
            "--manufacturer-id",
            [&link](const std::string& text) {
                const auto id = sysex::ParseManufacturerId(text);
                if (!id) {
                    throw CLI::ValidationError(
                        "--manufacturer-id",
                        "three hexadecimal bytes 00 to 7F, e.g. " +
                            sysex::FormatManufacturerId(sysex::kManufacturerId));
                }
                link.manufacturerId = *id;
            },
            "The keyboard maker's System Exclusive identifier, three hexadecimal bytes (default " +
                sysex::FormatManufacturerId(sysex::kManufacturerId) + ")")
        ->group(group);
    command
        .add_option("--trace", ports.trace,
                    "Write every packet in both directions and each protocol state, with "
                    "millisecond time stamps, into this file (for support)")
        ->group(group);
}

}  // namespace vantrel::cli
