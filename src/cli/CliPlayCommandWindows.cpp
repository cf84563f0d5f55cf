#include <cstdio>

#include "cli/CliCommands.h"

namespace vantrel::cli {

// Playing needs FluidSynth, which is not built for Windows here; the command stays in the list
// so that it says so instead of being unknown.
void RegisterPlayCommand(CLI::App& app, CliContext& context) {
    auto* play = app.add_subcommand(
        "play", "Hear a part or a style (not in the Windows build: it needs FluidSynth)");
    play->allow_extras();
    play->callback([&context] {
        std::fprintf(stderr,
                     "vantrel-cli: play is not part of the Windows build (FluidSynth is not "
                     "built for Windows here); use the Linux build to hear a style\n");
        context.exitCode = kExitFailed;
    });
}

}  // namespace vantrel::cli
