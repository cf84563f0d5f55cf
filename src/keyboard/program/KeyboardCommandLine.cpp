#include "keyboard/program/KeyboardCommandLine.h"

#include <cstdint>
#include <filesystem>
#include <utility>

#include "common/AtomicFile.h"
#include "common/Utf8Path.h"
#include "device/SysExProtocol.h"
#include "keyboard/options/KeyboardTimingOptions.h"

namespace vantrel {

namespace {

// "SLOT=FILE": the file's bytes go into the slot at start, named after the file.
void AddPreset(KeyboardOptions& keyboard, const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        throw CLI::ValidationError("--preset", "expected SLOT=FILE, got \"" + text + "\"");
    }
    std::size_t slot = 0;
    try {
        slot = std::stoul(text.substr(0, equals));
    } catch (const std::exception&) {
        throw CLI::ValidationError("--preset", "slot is not a number in \"" + text + "\"");
    }
    const std::filesystem::path file = PathFromUtf8(text.substr(equals + 1));
    constexpr std::uintmax_t kMaxPresetSize = 1u << 24;
    auto bytes = ReadWholeFile(file, kMaxPresetSize);
    if (!bytes) {
        throw CLI::ValidationError("--preset", "cannot read \"" + file.string() + "\"");
    }
    keyboard.initialSlots[slot] = SlotContent{file.stem().string(), std::move(*bytes)};
}

}  // namespace

void AddKeyboardOptions(CLI::App& app, KeyboardProgramOptions& options) {
    KeyboardOptions& keyboard = options.keyboard;
    KeyboardFaults& faults = keyboard.faults;

    app.add_option("--name", keyboard.name, "Name the keyboard gives in its connect reply")
        ->capture_default_str();
    app.add_option("--port-name", options.portName,
                   "Name of both virtual ports; the system lists them under the client "
                   "\"vantrel-keyboard\"")
        ->capture_default_str();
    app.add_option("--api", options.api,
                   "MIDI API tried first for the virtual ports, jack or alsa; the other one is "
                   "tried when it cannot open them")
        ->check(CLI::IsMember({"jack", "alsa"}))
        ->capture_default_str();
    app.add_option("--slots", keyboard.slotCount, "Number of slots")
        ->check(CLI::Range(std::size_t{1}, static_cast<std::size_t>(sysex::kSlotCount)))
        ->capture_default_str();
    app.add_option("--capacity", keyboard.capacity,
                   "Bytes all stored images may take together; a larger download is refused "
                   "with status 6 (default: 20480 bytes per slot)");
    app.add_option_function<std::string>(
           "--store",
           [&keyboard](const std::string& folder) { keyboard.storeFolder = PathFromUtf8(folder); },
           "Keep the slots as files in DIR (slot-NNN.mix, written atomically) instead of in "
           "memory only")
        ->type_name("DIR");
    app.add_option_function<std::vector<std::string>>(
           "--preset",
           [&keyboard](const std::vector<std::string>& presets) {
               for (const auto& preset : presets)
                   AddPreset(keyboard, preset);
           },
           "SLOT=FILE: put the file into the slot at start (repeatable)")
        ->type_name("SLOT=FILE");
    app.add_flag_callback(
        "--join-by-length", [&keyboard] { keyboard.joinRule = JoinRule::ByLength; },
        "Join packets as a simple firmware does: every 48-byte packet continues the message, "
        "whatever it holds, and the first shorter one ends it (default: a packet that opens "
        "with the protocol's frame header starts a new message)");
    app.add_flag("--quiet", options.quiet, "Print nothing but the ready line and errors");

    const std::string faultGroup = "Faults (for testing the computer's side)";
    app.add_option("--drop-ack", faults.dropAckOfPacket,
                   "Never acknowledge the K-th packet received (counted from 1); the packet "
                   "itself is still taken")
        ->type_name("K")
        ->group(faultGroup);
    app.add_option("--corrupt-reply", faults.corruptReply,
                   "Send the K-th reply (counted from 1, acknowledges not counted) with a wrong "
                   "checksum; a status reply of 2 from the computer brings it again, intact")
        ->type_name("K")
        ->group(faultGroup);
    app.add_flag("--corrupt-every-reply", faults.corruptEveryReply,
                 "Send every reply with a wrong checksum")
        ->group(faultGroup);
    app.add_option_function<unsigned>(
           "--reply-delay",
           [&faults](unsigned ms) { faults.replyDelay = std::chrono::milliseconds{ms}; },
           "Hold every reply back by MS milliseconds (acknowledges are not delayed)")
        ->type_name("MS")
        ->group(faultGroup);
    app.add_flag("--list-out-of-order", faults.slotListOutOfOrder,
                 "Send the slot list starting with entry 1, then entry 0")
        ->group(faultGroup);
    AddLateAcknowledgeOption(app, faults, faultGroup);
    app.add_flag("--echo", faults.echo,
                 "Send every packet back as it came and answer nothing, as a port wired back "
                 "to the computer (a MIDI thru, a loop cable) does")
        ->group(faultGroup);
    app.add_flag("--silent", faults.silent,
                 "Receive everything and answer nothing: no acknowledges, no replies")
        ->group(faultGroup);

    AddKeyboardTimingOptions(app, keyboard.timing, "Timing (as a real keyboard on a cable)");
}

}  // namespace vantrel
