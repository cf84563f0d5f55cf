#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "common/ProgramArguments.h"
#include "keyboard/program/KeyboardCommandLine.h"
#include "keyboard/program/KeyboardPorts.h"
#include "keyboard/program/StopSignal.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrel;
    CLI::App app{
        "vantrel-keyboard: a virtual accompaniment keyboard on virtual MIDI ports. It answers "
        "the\nkeyboard's System Exclusive protocol (connect, slot list, delete, download) so "
        "that\nvantrel and vantrel-cli can be used without hardware. Runs until SIGINT or "
        "SIGTERM."};
    KeyboardProgramOptions options;
    AddKeyboardOptions(app, options);
    try {
        const ProgramArguments arguments(argc, argv);
        app.parse(arguments.Count(), arguments.Values());
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return kExitUsage;
    }

    if (!options.quiet) {
        options.keyboard.log = [](const std::string& text) {
            std::printf("vantrel-keyboard: %s\n", text.c_str());
            std::fflush(stdout);
        };
    }
    StopSignal stopSignal;

    KeyboardPorts ports(options.keyboard);
    if (!ports.Load()) {
        std::fprintf(stderr,
                     "vantrel-keyboard: the store folder or a preset slot cannot be used\n");
        return kExitFailed;
    }
    const std::string api = ports.Open(options.portName, options.api == "jack");
    if (api.empty()) {
        std::fprintf(stderr, "vantrel-keyboard: %s\n", KeyboardPorts::OpenFailureHint());
        return kExitFailed;
    }
    std::printf("vantrel-keyboard: ready, %zu slots, ports \"%s\" on %s\n",
                ports.Keyboard().SlotCount(), options.portName.c_str(), api.c_str());
    std::fflush(stdout);

    stopSignal.Wait();
    std::printf("vantrel-keyboard: stopped\n");
    return kExitOk;
}
