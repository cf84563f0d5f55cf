#include <csignal>
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "keyboard/program/KeyboardCommandLine.h"
#include "keyboard/program/RtMidiKeyboardPorts.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// SIGINT and SIGTERM are blocked in every thread and taken here by sigwait, so no signal
// handler ever runs inside the keyboard or the MIDI threads.
sigset_t BlockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

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
        app.parse(argc, argv);
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
    const sigset_t stopSignals = BlockStopSignals();

    RtMidiKeyboardPorts ports(options.keyboard);
    if (!ports.Load()) {
        std::fprintf(stderr,
                     "vantrel-keyboard: the store folder or a preset slot cannot be used\n");
        return kExitFailed;
    }
    const std::string api = ports.Open(options.portName, options.api == "jack");
    if (api.empty()) {
        std::fprintf(stderr,
                     "vantrel-keyboard: no MIDI API could open virtual ports (is a JACK "
                     "server running?)\n");
        return kExitFailed;
    }
    std::printf("vantrel-keyboard: ready, %zu slots, ports \"%s\" on %s\n",
                ports.Keyboard().SlotCount(), options.portName.c_str(), api.c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    std::printf("vantrel-keyboard: stopped\n");
    return kExitOk;
}
