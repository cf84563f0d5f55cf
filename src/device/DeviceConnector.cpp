#include "device/DeviceConnector.h"

#include <algorithm>
#include <charconv>
#include <vector>

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

namespace {

std::string PortName(std::span<const PortEntry> ports, std::uint32_t count, std::size_t index) {
    return index < count && index < ports.size() ? ports[index].name : "?";
}

std::string LoopMessage(const CMidiDevice& device, std::size_t inputPort, std::size_t outputPort) {
    const std::string input = PortName(device.InputPorts(), device.InputPortCount(), inputPort);
    const std::string output = PortName(device.OutputPorts(), device.OutputPortCount(), outputPort);
    return "Connect request error!\nThe input \"" + input +
           "\" returns what Vantrel sends to the output \"" + output +
           "\": the two are wired to each other (a loop), not to a keyboard. Choose the "
           "keyboard's own input and output.";
}

std::string_view ClientOf(std::string_view name) {
    return name.substr(0, name.find(':'));
}

// JACK gives a program's second and later clients of the same name a "-01", "-02", ... suffix,
// so one program's input and output may sit in "prog" and "prog-01".
std::string_view ClientBase(std::string_view client) {
    const auto dash = client.rfind('-');
    if (dash == std::string_view::npos || dash + 1 == client.size())
        return client;
    const auto digits = client.substr(dash + 1);
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })
               ? client.substr(0, dash)
               : client;
}

// An input and an output of one device: the same client, or, under JACK's renaming, the same
// program and the same port name.
bool SameDevice(std::string_view input, std::string_view output) {
    const std::string_view inClient = ClientOf(input);
    const std::string_view outClient = ClientOf(output);
    if (inClient == outClient)
        return true;
    const std::string_view inPort = input.substr(std::min(input.size(), inClient.size() + 1));
    const std::string_view outPort = output.substr(std::min(output.size(), outClient.size() + 1));
    return ClientBase(inClient) == ClientBase(outClient) && inPort == outPort;
}

}  // namespace

std::optional<PortPair> SuggestPortPair(std::span<const PortEntry> inputs,
                                        std::span<const PortEntry> outputs,
                                        std::string_view lastInput, std::string_view lastOutput,
                                        std::string_view fallbackClient) {
    const auto named = [](std::span<const PortEntry> ports,
                          std::string_view name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < ports.size(); ++i) {
            if (!name.empty() && ports[i].name == name)
                return i;
        }
        return std::nullopt;
    };
    const auto lastIn = named(inputs, lastInput);
    const auto lastOut = named(outputs, lastOutput);
    if (lastIn && lastOut)
        return PortPair{*lastIn, *lastOut};

    std::optional<PortPair> newest;
    std::optional<PortPair> fallback;
    for (std::size_t in = 0; in < inputs.size(); ++in) {
        const std::string_view client = ClientOf(inputs[in].name);
        // ALSA's "Midi Through" returns whatever it is sent: a loop by design.
        if (client.empty() || client == "Midi Through")
            continue;
        const auto out = std::find_if(outputs.begin(), outputs.end(), [&](const PortEntry& port) {
            return SameDevice(inputs[in].name, port.name);
        });
        if (out == outputs.end())
            continue;
        const PortPair pair{in, static_cast<std::size_t>(out - outputs.begin())};
        if (client == fallbackClient) {
            if (!fallback)
                fallback = pair;
        } else {
            newest = pair;  // a port listed later was made later
        }
    }
    return newest ? newest : fallback;
}

ConnectOutcome ConnectDevice(CMidiTrans& trans, UserPrompt& prompt, std::size_t inputPort,
                             std::size_t outputPort, std::string& deviceName) {
    Link().deviceConnected.store(false);
    if (!trans.OpenPorts(inputPort, outputPort)) {
        prompt.Message("Device cannot be opened!");
        return ConnectOutcome::CannotOpen;
    }
    const std::uint32_t echoesBefore = trans.Device().EchoesHeard();
    if (!trans.RequestConnect(deviceName)) {
        if (trans.Device().EchoesHeard() != echoesBefore) {
            prompt.Message(LoopMessage(trans.Device(), inputPort, outputPort));
            return ConnectOutcome::Loop;
        }
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
