#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "common/UserPrompt.h"
#include "pattern/PatternCheck.h"

namespace vantrel::cli {

// The MIDI and pattern commands: info, check, convert, inspect, fit.
void RegisterMidiInfo(CLI::App& app, CliContext& context);
void RegisterMidiCheck(CLI::App& app, CliContext& context);
void RegisterMidiConvert(CLI::App& app, CliContext& context);
void RegisterMidiInspect(CLI::App& app, CliContext& context);
void RegisterMidiFit(CLI::App& app, CliContext& context);
void RegisterStyleFromSong(CLI::App& app, CliContext& context);

// Adds a command over FILE... that runs `run` on each file in turn; a false answer for any file
// makes the exit status 1.
CLI::App* AddPerFileCommand(CLI::App& app, CliContext& context, const std::string& name,
                            const std::string& help, std::function<bool(const std::string&)> run);

// Writes bytes under path without ever leaving a half-written file there; without replace an
// existing file is kept and the answer is false.
bool PlaceFile(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& path,
               bool replace);

// The help line that states the input size cap.
std::string MidiSizeCapText();

// Keeps the converter's messages in the order shown, for output that is printed afterwards
// (--json) rather than as the messages come.
class RecordingPrompt final : public UserPrompt {
  public:
    void Message(const std::string& text) override { messages.push_back(text); }
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override {
        messages.push_back(text);
        return buttons == PromptButtons::YesNoCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    }
    std::vector<std::string> messages;
};

// "FILE: passed" or "FILE: not supported" with the error entries below.
void PrintCheckResult(const std::string& file, const PatternProducts& products);

// text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace vantrel::cli
