#include "cli/CliCommands.h"

namespace vantrel::cli {

void RegisterDeviceCommands(CLI::App& /*app*/, CliContext& /*context*/) {}

}  // namespace vantrel::cli
