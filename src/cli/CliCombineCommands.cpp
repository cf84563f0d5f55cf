// vantrel-cli combine and upload: the chosen Intro, Fills and Ending checked against each other,
// joined into one style image, and written to a file or stored in a keyboard slot.
#include <cstdio>
#include <memory>
#include <optional>

#include "cli/CliDeviceSession.h"
#include "cli/CliInterrupt.h"
#include "cli/CliLinkOptions.h"
#include "cli/CliRepositoryParts.h"
#include "cli/CliUploadProgress.h"
#include "combine/CombineLists.h"
#include "combine/DeviceUploadLink.h"
#include "combine/UploadWorkflow.h"
#include "common/AtomicFile.h"
#include "common/TerminalPrompt.h"
#include "common/Utf8Path.h"
#include "repository/CRepository.h"

namespace vantrel::cli {

namespace {

struct StyleChoice {
    std::string repository;
    std::string intro;
    std::vector<std::string> fills;
    std::string ending;
};

struct UploadOptions {
    StyleChoice style;
    int slot = -1;
    bool emptySlot = false;
    DevicePorts ports;
    AnswerFlags answers;
    bool quiet = false;
};

void AddStyleChoice(CLI::App& command, StyleChoice& style) {
    AddRepositoryOption(command, style.repository);
    command.add_option("--intro", style.intro, "Intro entry")->required();
    command.add_option("--fill", style.fills, "Fill entry (1 to 8, in this order)")->required();
    command.add_option("--ending", style.ending, "Ending entry")->required();
}

// Settles the repository and fills the combine lists as the Combine button does for each tab;
// nullopt when a name is not an entry of its sub-repository.
std::optional<CombineLists> ChooseParts(const StyleChoice& style, UserPrompt& prompt) {
    UseRepository(style.repository);
    const bool known = ReportMissingEntries(SubRepository::Intro, {style.intro}).empty() &
                       ReportMissingEntries(SubRepository::Fill, style.fills).empty() &
                       ReportMissingEntries(SubRepository::Ending, {style.ending}).empty();
    if (!known)
        return std::nullopt;
    CombineLists lists(CRepository::Root());
    lists.OnCombine(SubRepository::Intro, {style.intro}, prompt);
    lists.OnCombine(SubRepository::Fill, style.fills, prompt);
    lists.OnCombine(SubRepository::Ending, {style.ending}, prompt);
    return lists;
}

int RunCombine(const StyleChoice& style, const std::string& output) {
    TerminalPrompt prompt;
    const auto lists = ChooseParts(style, prompt);
    if (!lists)
        return kExitFailed;
    const auto names = CheckCombinedParts(*lists, prompt);
    if (!names)
        return kExitFailed;
    const auto image = BuildStyleImage(CRepository::Root(), *names, prompt, ConvertToProducts);
    if (!image)
        return kExitFailed;
    if (!WriteFileAtomically(PathFromUtf8(output), *image)) {
        std::fprintf(stderr, "%s cannot be written\n", output.c_str());
        return kExitFailed;
    }
    std::printf("%s: style image of %zu bytes (Intro, %zu Fill(s), Ending)\n", output.c_str(),
                image->size(), names->size() - 2);
    return kExitOk;
}

void PrintSlots(const std::string& device, const std::vector<std::string>& rows) {
    std::printf("Slots of %s:\n", device.c_str());
    for (std::size_t slot = 0; slot < rows.size(); ++slot) {
        std::printf("  %3zu  %s\n", slot, rows[slot].c_str());
    }
}

int RunUpload(const UploadOptions& options) {
    TerminalPrompt prompt(PresetAnswer(options.answers));
    const auto lists = ChooseParts(options.style, prompt);
    if (!lists)
        return kExitFailed;

    const InterruptCancelsTransfer interrupt;
    DeviceSession session(options.ports);
    std::string device;
    if (const auto failed = session.Connect(options.ports, device))
        return interrupt.Interrupted() ? kExitInterrupted : *failed;
    DeviceSlotList slots(session.Trans(), prompt);
    slots.RefreshSlots();
    if (options.slot >= 0) {
        if (static_cast<std::size_t>(options.slot) >= slots.Rows().size()) {
            std::fprintf(stderr, "%s has no slot %d\n", device.c_str(), options.slot);
            return kExitFailed;
        }
        slots.Select({static_cast<std::size_t>(options.slot)});
    }
    DeviceUploadLink link(session.Trans(), kLinkSettingsOptions);
    CliUploadProgress console(prompt, !options.quiet);
    UploadEnvironment environment{console, link, slots, console};
    const UploadResult result = OnUpload(*lists, CRepository::Root(), environment);
    PrintSlots(device, slots.Rows());
    if (result == UploadResult::Cancelled || interrupt.Interrupted())
        return kExitInterrupted;
    return result == UploadResult::Stored ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterCombineCommands(CLI::App& app, CliContext& context) {
    auto style = std::make_shared<StyleChoice>();
    auto output = std::make_shared<std::string>();
    auto* combine = app.add_subcommand(
        "combine",
        "Check the chosen entries against each other and build their style image into a file, "
        "without sending it");
    AddStyleChoice(*combine, *style);
    combine->add_option("-o,--output", *output, "The style image file to write")->required();
    combine->callback(
        [style, output, &context] { context.exitCode = RunCombine(*style, *output); });

    auto options = std::make_shared<UploadOptions>();
    auto* upload = app.add_subcommand(
        "upload",
        "Check, combine and store the chosen entries in a keyboard slot, then show the slots. "
        "Ctrl-C cancels the transfer after the packet under way; the slot keeps what it held. "
        "Exit status: 0 stored, 1 refused or failed, 2 usage, 3 no device, 130 cancelled.");
    AddStyleChoice(*upload, options->style);
    auto* slot = upload->add_option("--slot", options->slot, "Target slot (counts from 0)")
                     ->check(CLI::Range(0, 255));
    auto* emptySlot = upload->add_flag("--empty-slot", options->emptySlot,
                                       "Use the first free slot (asks \"Using empty slot?\")");
    slot->excludes(emptySlot);
    auto* in = upload->add_option("--in", options->ports.input, "Input port: index or name");
    auto* out = upload->add_option("--out", options->ports.output, "Output port: index or name");
    auto* virtualFlag = upload->add_flag("--virtual", options->ports.useVirtual,
                                         "Use the in-process virtual keyboard");
    in->needs(out);
    out->needs(in);
    virtualFlag->excludes(in)->excludes(out);
    AddLinkOptions(*upload, options->ports);
    AddVirtualKeyboardTiming(*upload, *virtualFlag, options->ports.virtualTiming);
    AddAnswerFlags(*upload, options->answers);
    upload->add_flag("--quiet", options->quiet, "No progress bar (messages are still shown)");
    upload->callback([options, &context] {
        if (options->slot < 0 && !options->emptySlot) {
            throw CLI::ValidationError("upload", "choose the slot with --slot N or --empty-slot");
        }
        if (!options->ports.useVirtual && options->ports.input.empty()) {
            throw CLI::ValidationError("upload",
                                       "name both ports with --in and --out, or use "
                                       "--virtual");
        }
        context.exitCode = RunUpload(*options);
    });
}

}  // namespace vantrel::cli
