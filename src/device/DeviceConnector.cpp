#include "device/DeviceConnector.h"

#include <algorithm>
#include <charconv>

#include "common/UserPrompt.h"
#include "device/CMidiTrans.h"
#include "device/LinkState.h"

namespace vantrel {

std::optional<std::size_t> FindPort(std::span<const PortEntry> ports,
                                    std::string_view indexOrName) {
    std::size_t index = 0;
    const char* end = indexOrName.data() + indexOrName.size();
    const auto parsed = std::from_chars(indexOrName.data(), end, index);
    if (!indexOrName.empty() && parsed.ec == std::errc() && parsed.ptr == end) {
        if (index < ports.size())
            return index;
        return std::nullopt;
    }
    const auto exact = std::find_if(ports.begin(), ports.end(), [&](const PortEntry& port) {
        return port.name == indexOrName;
    });
    if (exact != ports.end())
        return static_cast<std::size_t>(exact - ports.begin());
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (indexOrName.empty() || ports[i].name.find(indexOrName) == std::string::npos)
            continue;
        if (found)
            return std::nullopt;  // ambiguous
        found = i;
    }
    return found;
}

ConnectOutcome ConnectDevice(CMidiTrans& trans, UserPrompt& prompt, std::size_t inputPort,
                             std::size_t outputPort, std::string& deviceName) {
    Link().deviceConnected.store(false);
    if (!trans.OpenPorts(inputPort, outputPort)) {
        prompt.Message("Device cannot be opened!");
        return ConnectOutcome::CannotOpen;
    }
    if (!trans.RequestConnect(deviceName)) {
        prompt.Message("Connect request error!");
        return ConnectOutcome::NoAnswer;
    }
    Link().deviceConnected.store(true);
    return ConnectOutcome::Connected;
}

ConnectOutcome ConnectDeviceByName(CMidiTrans& trans, UserPrompt& prompt,
                                   std::string_view inputPort, std::string_view outputPort,
                                   std::string& deviceName) {
    CMidiDevice& device = trans.Device();
    trans.RegisterHandler();
    device.EnumeratePorts();
    const auto input =
        FindPort(std::span(device.InputPorts()).first(device.InputPortCount()), inputPort);
    if (!input)
        return ConnectOutcome::NoSuchInput;
    const auto output =
        FindPort(std::span(device.OutputPorts()).first(device.OutputPortCount()), outputPort);
    if (!output)
        return ConnectOutcome::NoSuchOutput;
    return ConnectDevice(trans, prompt, *input, *output, deviceName);
}

}  // namespace vantrel
