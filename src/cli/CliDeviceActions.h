#pragma once

#include <filesystem>
#include <vector>

#include "cli/CliDeviceSession.h"

namespace vantrel::cli {

// Each runs one device command over a fresh link and answers its exit status.
int RunPorts();
int RunConnect(const DevicePorts& ports);
int RunSlots(const DevicePorts& ports, bool json);
int RunDelete(const DevicePorts& ports, const std::vector<int>& slots);
int RunSend(const DevicePorts& ports, const std::filesystem::path& file, int slot, bool quiet);

}  // namespace vantrel::cli
