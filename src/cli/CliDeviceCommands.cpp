#include <memory>

#include "cli/CliCommands.h"
#include "cli/CliDeviceActions.h"
#include "cli/CliLinkOptions.h"
#include "common/Utf8Path.h"

namespace vantrel::cli {

namespace {

// --in/--out or --virtual, checked when a device command runs.
void CheckPorts(const DevicePorts& ports) {
    if (ports.useVirtual && (!ports.input.empty() || !ports.output.empty())) {
        throw CLI::ValidationError("--virtual", "cannot be combined with --in/--out");
    }
    if (!ports.useVirtual && (ports.input.empty() || ports.output.empty())) {
        throw CLI::ValidationError("device",
                                   "name both ports with --in and --out, or use --virtual");
    }
}

void RegisterDeviceActions(CLI::App& device, const std::shared_ptr<DevicePorts>& ports,
                           CliContext& context) {
    auto* connect = device.add_subcommand("connect", "Connect and show the device's name");
    connect->callback([ports, &context] {
        CheckPorts(*ports);
        context.exitCode = RunConnect(*ports);
    });

    auto* slots = device.add_subcommand("slots", "List the device's slots (\"Empty\" when free)");
    auto json = std::make_shared<bool>(false);
    slots->add_flag("--json", *json, "One JSON object {device, slots: [{slot, name, empty}]}");
    slots->callback([ports, json, &context] {
        CheckPorts(*ports);
        context.exitCode = RunSlots(*ports, *json);
    });

    auto* remove = device.add_subcommand("delete", "Delete the style in each given slot");
    auto numbers = std::make_shared<std::vector<int>>();
    remove->add_option("SLOT", *numbers, "Slot numbers, 0 to 255")
        ->required()
        ->check(CLI::Range(0, 255));
    remove->callback([ports, numbers, &context] {
        CheckPorts(*ports);
        context.exitCode = RunDelete(*ports, *numbers);
    });

    auto* send = device.add_subcommand(
        "send",
        "Store a style image file in a slot. Ctrl-C cancels the transfer after the packet under "
        "way (exit status 130); the slot keeps what it held.");
    auto file = std::make_shared<std::string>();
    auto slot = std::make_shared<int>(0);
    auto quiet = std::make_shared<bool>(false);
    send->add_option("FILE", *file, "The style image (e.g. Total.mix)")->required();
    send->add_option("--slot", *slot, "Target slot, 0 to 255")
        ->required()
        ->check(CLI::Range(0, 255));
    send->add_flag("--quiet", *quiet, "No progress bar (messages are still shown)");
    send->callback([ports, file, slot, quiet, &context] {
        CheckPorts(*ports);
        context.exitCode = RunSend(*ports, PathFromUtf8(*file), *slot, *quiet);
    });
}

}  // namespace

void RegisterDeviceCommands(CLI::App& app, CliContext& context) {
    auto* portsCommand = app.add_subcommand("ports", "List the MIDI input and output ports");
    portsCommand->callback([&context] { context.exitCode = RunPorts(); });

    auto* device = app.add_subcommand(
        "device",
        "Talk to the keyboard over a MIDI port pair. Exit status: 0 done, 1 refused or failed, "
        "2 usage, 3 no device or no answer in time.");
    device->require_subcommand(1);
    auto ports = std::make_shared<DevicePorts>();
    device->add_option("--in", ports->input, "Input port: index or name (see ports)");
    device->add_option("--out", ports->output, "Output port: index or name (see ports)");
    auto* virtualFlag =
        device->add_flag("--virtual", ports->useVirtual,
                         "Use the in-process virtual keyboard instead of MIDI ports");
    AddLinkOptions(*device, *ports);
    AddVirtualKeyboardTiming(*device, *virtualFlag, ports->virtualTiming);
    RegisterDeviceActions(*device, ports, context);
}

}  // namespace vantrel::cli
