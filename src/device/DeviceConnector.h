#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/CMidiDevice.h"

namespace vantrel {

class CMidiTrans;
class UserPrompt;

// A port named by the user: an index into the table ("2") or a port name, matched exactly
// first and otherwise as the one name that contains the text. Nullopt when nothing or more
// than one port matches.
std::optional<std::size_t> FindPort(std::span<const PortEntry> ports, std::string_view indexOrName);

// The input and output the port chooser offers first, by index: the pair chosen last time when
// both names are still listed; otherwise an input and an output of one device (names
// "CLIENT:PORT", a name without a colon being its own client: the same client, or one program's
// two JACK clients "prog" and "prog-01" with the same port name), the last such input listed
// (the device started most recently) and only failing all others the in-process keyboard
// `fallbackClient`; never "Midi Through", which returns what it is sent. Nullopt when there is
// no such pair.
struct PortPair {
    std::size_t input = 0;
    std::size_t output = 0;
    bool operator==(const PortPair&) const = default;
};
std::optional<PortPair> SuggestPortPair(std::span<const PortEntry> inputs,
                                        std::span<const PortEntry> outputs,
                                        std::string_view lastInput, std::string_view lastOutput,
                                        std::string_view fallbackClient);

enum class ConnectOutcome { Connected, NoSuchInput, NoSuchOutput, CannotOpen, NoAnswer, Loop };

// Opens the port pair and asks the device for its name, as the device panel's Connect does:
// "Device cannot be opened!" when the ports cannot be opened (they are closed again),
// "Connect request error!" when the device does not answer (the ports stay open), followed by
// a line that names the loop when what came back on the input was the request itself.
// DeviceConnected tells the outcome afterwards.
ConnectOutcome ConnectDevice(CMidiTrans& trans, UserPrompt& prompt, std::size_t inputPort,
                             std::size_t outputPort, std::string& deviceName);

// The same for ports given by index or name: lists the ports, registers the protocol's reply
// handler, finds both ports, then connects. A port that is not found shows nothing.
ConnectOutcome ConnectDeviceByName(CMidiTrans& trans, UserPrompt& prompt,
                                   std::string_view inputPort, std::string_view outputPort,
                                   std::string& deviceName);

}  // namespace vantrel
