#include <CLI/CLI.hpp>

#include "cli/CliCommands.h"
#include "common/ProgramArguments.h"

int main(int argc, char** argv) {
    using namespace vantrel;
    using namespace vantrel::cli;
    CLI::App app{
        "vantrel-cli: check and convert accompaniment pattern MIDI files, keep them in the\n"
        "repository, and store combined styles in a keyboard slot over MIDI System Exclusive."};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");

    CliContext context;
    RegisterMidiCommands(app, context);
    RegisterDeviceCommands(app, context);
    RegisterRepositoryCommands(app, context);
    RegisterPlayCommand(app, context);

    try {
        const ProgramArguments arguments(argc, argv);
        app.parse(arguments.Count(), arguments.Values());
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return kExitUsage;
    }
    return context.exitCode;
}
