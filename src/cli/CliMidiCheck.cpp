#include <cstdio>
#include <memory>

#include "cli/CliMidiCommands.h"
#include "common/TerminalPrompt.h"
#include "common/Utf8Path.h"
#include "pattern/PatternCheck.h"

namespace vantrel::cli {

namespace {

void PrintJsonList(const char* name, const std::vector<std::string>& texts) {
    std::printf("\"%s\": [", name);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::printf("%s%s", i ? ", " : "", JsonString(texts[i]).c_str());
    }
    std::printf("]");
}

}  // namespace

void PrintCheckResult(const std::string& file, const PatternProducts& products) {
    std::printf("%s: %s\n", file.c_str(), products.Passed() ? "passed" : "not supported");
    for (const auto& error : products.errors)
        std::printf("  %s\n", error.c_str());
}

void RegisterMidiCheck(CLI::App& app, CliContext& context) {
    auto* command = app.add_subcommand(
        "check",
        "Check MIDI files against the keyboard's pattern rules by converting them exactly as the "
        "import does, in a private temporary folder that is removed again: nothing is left on "
        "disk. Prints every error entry and every message. Exit status 0 when all files pass, 1 "
        "when one fails, 2 on a usage error.\n" +
            MidiSizeCapText());
    auto files = std::make_shared<std::vector<std::string>>();
    auto json = std::make_shared<bool>(false);
    command->add_option("FILE", *files, "MIDI files")->required();
    command->add_flag("--json", *json, "One JSON array of {file, passed, errors, messages}");
    command->callback([files, json, &context] {
        if (*json)
            std::printf("[");
        for (std::size_t i = 0; i < files->size(); ++i) {
            const std::string& file = (*files)[i];
            RecordingPrompt recorded;
            TerminalPrompt terminal;
            UserPrompt& prompt = *json ? static_cast<UserPrompt&>(recorded) : terminal;
            const PatternProducts products = ConvertToProducts(PathFromUtf8(file), prompt);
            if (!products.Passed())
                context.exitCode = kExitFailed;
            if (!*json) {
                PrintCheckResult(file, products);
                continue;
            }
            std::printf("%s\n  {\"file\": %s, \"passed\": %s, ", i ? "," : "",
                        JsonString(file).c_str(), products.Passed() ? "true" : "false");
            PrintJsonList("errors", products.errors);
            std::printf(", ");
            PrintJsonList("messages", recorded.messages);
            std::printf("}");
        }
        if (*json)
            std::printf("\n]\n");
    });
}

}  // namespace vantrel::cli
