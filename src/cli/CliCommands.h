#pragma once

#include <CLI/CLI.hpp>

namespace vantrel::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;         // a file failed its check, an operation was refused
inline constexpr int kExitUsage = 2;          // bad arguments
inline constexpr int kExitNoDevice = 3;       // no device answered, time-out
inline constexpr int kExitInterrupted = 130;  // Ctrl-C: the transfer was cancelled (128 + SIGINT)

// Where a terminal user sets the acknowledge time-out and the retries, for the advice after a
// troubled download.
inline constexpr const char* kLinkSettingsOptions = "--ack-timeout, --retries";

struct CliContext {
    int exitCode = kExitOk;
};

// Each command group adds its sub-commands to the program; a sub-command's callback runs the
// command and leaves its exit status in the context.
void RegisterMidiCommands(CLI::App& app, CliContext& context);
void RegisterDeviceCommands(CLI::App& app, CliContext& context);
void RegisterRepositoryCommands(CLI::App& app, CliContext& context);
void RegisterPlayCommand(CLI::App& app, CliContext& context);

}  // namespace vantrel::cli
