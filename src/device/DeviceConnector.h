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

enum class ConnectOutcome { Connected, NoSuchInput, NoSuchOutput, CannotOpen, NoAnswer };

// Opens the port pair and asks the device for its name, as the device panel's Connect does:
// "Device cannot be opened!" when the ports cannot be opened (they are closed again),
// "Connect request error!" when the device does not answer (the ports stay open).
// DeviceConnected tells the outcome afterwards.
ConnectOutcome ConnectDevice(CMidiTrans& trans, UserPrompt& prompt, std::size_t inputPort,
                             std::size_t outputPort, std::string& deviceName);

// The same for ports given by index or name: lists the ports, registers the protocol's reply
// handler, finds both ports, then connects. A port that is not found shows nothing.
ConnectOutcome ConnectDeviceByName(CMidiTrans& trans, UserPrompt& prompt,
                                   std::string_view inputPort, std::string_view outputPort,
                                   std::string& deviceName);

}  // namespace vantrel
