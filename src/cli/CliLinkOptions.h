#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliDeviceSession.h"

namespace vantrel::cli {

// --ack-timeout, --retries, --packet-gap, --manufacturer-id and --trace, for every command that
// talks to the keyboard.
void AddLinkOptions(CLI::App& command, DevicePorts& ports);

}  // namespace vantrel::cli
