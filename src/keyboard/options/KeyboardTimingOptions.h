#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "keyboard/KeyboardOptions.h"

namespace vantrel {

// Declares the switches that give the virtual keyboard a real keyboard's timing (--ack-delay,
// --din, --stall, --unplug, --busy-reply) on `app` in `group`, writing into `timing`. Shared by
// vantrel-keyboard and by vantrel-cli's in-process keyboard. Answers the options declared.
std::vector<CLI::Option*> AddKeyboardTimingOptions(CLI::App& app, KeyboardTiming& timing,
                                                   const std::string& group);

// --late-ack EVERY:MS: every EVERY-th acknowledge MS milliseconds late (a fault switch).
CLI::Option* AddLateAcknowledgeOption(CLI::App& app, KeyboardFaults& faults,
                                      const std::string& group);

}  // namespace vantrel
