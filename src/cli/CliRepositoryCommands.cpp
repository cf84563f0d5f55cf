#include "cli/CliCommands.h"

namespace vantrel::cli {

void RegisterRepositoryCommands(CLI::App& /*app*/, CliContext& /*context*/) {}

}  // namespace vantrel::cli
