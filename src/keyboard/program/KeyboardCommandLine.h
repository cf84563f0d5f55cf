#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "keyboard/KeyboardOptions.h"

namespace vantrel {

struct KeyboardProgramOptions {
    KeyboardOptions keyboard;
    // Not the in-process keyboard's port name, so that a name picks one or the other.
    std::string portName = "Vantrel Keyboard";
    std::string api = "jack";
    bool quiet = false;
};

// Declares every option of vantrel-keyboard on the app, writing into options. Presets are read
// into options.keyboard.initialSlots by the options' callbacks.
void AddKeyboardOptions(CLI::App& app, KeyboardProgramOptions& options);

}  // namespace vantrel
