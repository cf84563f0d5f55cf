#include "cli/CliMidiCommands.h"

#include <cstdio>
#include <memory>

#include "common/AtomicFile.h"
#include "common/ScopedTempDir.h"
#include "midi/CMidiReader.h"

namespace vantrel::cli {

void RegisterMidiCommands(CLI::App& app, CliContext& context) {
    RegisterMidiInfo(app, context);
    RegisterMidiCheck(app, context);
    RegisterMidiConvert(app, context);
    RegisterMidiInspect(app, context);
    RegisterMidiFit(app, context);
    RegisterStyleFromSong(app, context);
}

CLI::App* AddPerFileCommand(CLI::App& app, CliContext& context, const std::string& name,
                            const std::string& help, std::function<bool(const std::string&)> run) {
    auto* command = app.add_subcommand(name, help);
    auto files = std::make_shared<std::vector<std::string>>();
    command->add_option("FILE", *files, "Files, one after the other")->required();
    command->callback([files, run = std::move(run), &context] {
        for (const auto& file : *files) {
            if (!run(file))
                context.exitCode = kExitFailed;
        }
    });
    return command;
}

bool PlaceFile(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& path,
               bool replace) {
    if (replace)
        return WriteFileAtomically(path, bytes);
    ScopedTempDir staging;
    const std::filesystem::path staged = staging.Path() / path.filename();
    return staging.Valid() && WriteFileAtomically(staged, bytes) &&
           CopyFileAtomically(staged, path, false);
}

std::string MidiSizeCapText() {
    return "MIDI files larger than " + std::to_string(kMaxMidiFileSize / (1024 * 1024)) +
           " MiB are refused as not usable, without being read.";
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace vantrel::cli
