#include "cli/CliCommands.h"

namespace vantrel::cli {

void RegisterMidiCommands(CLI::App& /*app*/, CliContext& /*context*/) {}

}  // namespace vantrel::cli
