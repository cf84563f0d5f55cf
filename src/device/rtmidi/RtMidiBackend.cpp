#include "device/rtmidi/RtMidiBackend.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "device/rtmidi/RtMidiCalls.h"

namespace vantrel {

namespace {

// A MIDI server (JACK in particular) makes a new connection live only at a later cycle of its
// process thread; bytes sent before that are dropped, so a fresh process's first request would
// go unanswered. The link waits this long once, after both ports are opened, before it is used.
constexpr std::chrono::milliseconds kConnectionSettle{150};

using rtmidi::ErrorFlag;

// The names this backend gives the ports it opens; the system lists them as
// "CLIENT:Vantrel input" (JACK) or "CLIENT:Vantrel input 129:0" (ALSA).
constexpr const char* kOwnInputPort = "Vantrel input";
constexpr const char* kOwnOutputPort = "Vantrel output";

// The input and output objects of one RtMidi API.
struct ApiPorts {
    RtMidi::Api api;
    ErrorFlag inFlag;
    ErrorFlag outFlag;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
};

template <typename Port>
std::vector<std::string> PortNames(Port* port, ErrorFlag& flag) {
    std::vector<std::string> names;
    unsigned int count = 0;
    if (port == nullptr || !flag.Call([&] { count = port->getPortCount(); }))
        return names;
    for (unsigned int i = 0; i < count; ++i) {
        std::string name;
        // A name that cannot be read keeps its place, so indices stay those of RtMidi.
        (void)flag.Call([&] { name = port->getPortName(i); });
        names.push_back(std::move(name));
    }
    return names;
}

class RtMidiBackend final : public MidiPortBackend {
  public:
    // The gate is in place before any RtMidi object exists: under JACK each one starts its
    // process thread as it is made, and that thread may call the gate later through the port
    // that OpenInput opens, with no synchronisation of its own with this thread.
    explicit RtMidiBackend(const std::string& clientName)
        : clientName_(clientName), gate_([this](std::span<const std::uint8_t> chunk) {
              // RtMidi's input thread (JACK's process thread under JACK) must never wait for a
              // lock: it announces itself in a counter, and closing the gate waits for the
              // counter instead.
              inCallback_.fetch_add(1);
              if (delivering_.load())
                  onInput_(chunk);
              inCallback_.fetch_sub(1);
          }) {
        std::vector<RtMidi::Api> apis;
        RtMidi::getCompiledApi(apis);
        for (const RtMidi::Api api : apis) {
            if (api == RtMidi::RTMIDI_DUMMY)
                continue;
            auto ports = std::make_unique<ApiPorts>();
            ports->api = api;
            ports->in = rtmidi::MakePort<RtMidiIn>(api, clientName, ports->inFlag);
            ports->out = rtmidi::MakePort<RtMidiOut>(api, clientName, ports->outFlag);
            if (ports->in || ports->out)
                apis_.push_back(std::move(ports));
        }
    }

    ~RtMidiBackend() override {
        (void)CloseInput();
        (void)CloseOutput();
        if (closedJackPort_)
            rtmidi::WaitOutJackProcessCycle();
    }

    std::vector<std::string> InputPortNames() override { return Names(true); }
    std::vector<std::string> OutputPortNames() override { return Names(false); }

    bool OpenInput(std::size_t index, MidiInputConfig config) override {
        if (openIn_ != nullptr)
            return false;
        const auto target = Resolve(index, true);
        if (!target)
            return false;
        CloseGate();
        onInput_ = std::move(config.onInput);
        RtMidiIn& in = *target->api->in;
        const auto local = static_cast<unsigned int>(target->index);
        const bool opened = target->api->inFlag.Call([&] {
            rtmidi::PrepareInput(in);
            in.setCallback(&rtmidi::ForwardInput, &gate_);
            in.openPort(local, kOwnInputPort);
        });
        if (!opened) {
            (void)target->api->inFlag.Call([&] { in.cancelCallback(); });
            return false;
        }
        openIn_ = target->api;
        settled_ = false;
        return true;
    }

    bool StartInput() override {
        if (openIn_ != nullptr && !settled_) {
            std::this_thread::sleep_for(kConnectionSettle);
            settled_ = true;
        }
        const bool open = openIn_ != nullptr && onInput_;
        delivering_.store(open);
        return open;
    }

    bool StopInput() override {
        CloseGate();
        return true;
    }

    bool CloseInput() override {
        if (openIn_ == nullptr)
            return true;
        (void)StopInput();
        ApiPorts* api = openIn_;
        (void)api->inFlag.Call([&] {
            api->in->closePort();
            api->in->cancelCallback();
        });
        closedJackPort_ = closedJackPort_ || api->api == RtMidi::UNIX_JACK;
        openIn_ = nullptr;
        onInput_ = nullptr;
        return true;
    }

    bool OpenOutput(std::size_t index) override {
        if (openOut_ != nullptr)
            return false;
        const auto target = Resolve(index, false);
        if (!target)
            return false;
        const auto local = static_cast<unsigned int>(target->index);
        if (!target->api->outFlag.Call(
                [&] { target->api->out->openPort(local, kOwnOutputPort); })) {
            return false;
        }
        openOut_ = target->api;
        return true;
    }

    bool CloseOutput() override {
        if (openOut_ == nullptr)
            return true;
        ApiPorts* api = openOut_;
        (void)api->outFlag.Call([&] { api->out->closePort(); });
        closedJackPort_ = closedJackPort_ || api->api == RtMidi::UNIX_JACK;
        openOut_ = nullptr;
        return true;
    }

    bool Send(std::span<const std::uint8_t> bytes) override {
        return openOut_ != nullptr && rtmidi::SendBytes(*openOut_->out, openOut_->outFlag, bytes);
    }

  private:
    // Once this returns, no callback runs or follows until the gate opens again.
    void CloseGate() {
        delivering_.store(false);
        while (inCallback_.load() != 0)
            std::this_thread::yield();
    }

    struct Target {
        ApiPorts* api;
        std::size_t index;
    };

    static std::vector<std::string> ApiNames(ApiPorts& api, bool input) {
        return input ? PortNames(api.in.get(), api.inFlag) : PortNames(api.out.get(), api.outFlag);
    }

    // A port of this program (or of another instance of it) is never the keyboard's: offering
    // it would let the link talk to itself. ALSA keeps a closed port listed, JACK renames a
    // second client "CLIENT-01".
    bool IsOwnPort(const std::string& name) const {
        if (name.compare(0, clientName_.size(), clientName_) != 0)
            return false;
        const auto colon = name.find(':', clientName_.size());
        if (colon == std::string::npos)
            return false;
        const std::string_view port = std::string_view(name).substr(colon + 1);
        return port.starts_with(kOwnInputPort) || port.starts_with(kOwnOutputPort);
    }

    // Every API's ports but this program's own, in order.
    std::vector<std::pair<Target, std::string>> Listed(bool input) {
        std::vector<std::pair<Target, std::string>> listed;
        for (const auto& api : apis_) {
            auto names = ApiNames(*api, input);
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (!IsOwnPort(names[i]))
                    listed.emplace_back(Target{api.get(), i}, std::move(names[i]));
            }
        }
        return listed;
    }

    std::vector<std::string> Names(bool input) {
        std::vector<std::string> names;
        for (auto& [target, name] : Listed(input))
            names.push_back(std::move(name));
        return names;
    }

    std::optional<Target> Resolve(std::size_t index, bool input) {
        const auto listed = Listed(input);
        if (index >= listed.size())
            return std::nullopt;
        return listed[index].first;
    }

    // RtMidi's thread against open, start, stop and close, without a lock.
    std::atomic<bool> delivering_{false};
    std::atomic<int> inCallback_{0};
    bool settled_ = false;         // the settle wait ran since the input port was opened
    bool closedJackPort_ = false;  // a JACK port was closed; its process cycle may be running
    MidiInputCallback onInput_;    // written only while the gate is closed
    std::string clientName_;
    MidiInputCallback gate_;  // what RtMidi calls

    // Declared last so they are destroyed first: until an API's client is closed its thread
    // may still enter the gate above.
    std::vector<std::unique_ptr<ApiPorts>> apis_;
    ApiPorts* openIn_ = nullptr;
    ApiPorts* openOut_ = nullptr;
};

}  // namespace

std::unique_ptr<MidiPortBackend> MakeRtMidiBackend(const std::string& clientName) {
    return std::make_unique<RtMidiBackend>(clientName);
}

}  // namespace vantrel
