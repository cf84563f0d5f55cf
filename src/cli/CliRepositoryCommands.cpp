#include "cli/CliCommands.h"
#include "cli/CliRepositoryParts.h"

namespace vantrel::cli {

void RegisterRepositoryCommands(CLI::App& app, CliContext& context) {
    RegisterRepoCommand(app, context);
    RegisterCombineCommands(app, context);
    RegisterDecodeCommand(app, context);
}

}  // namespace vantrel::cli
