#include "device/winmm/WinMmBackend.h"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "device/SysExAssembler.h"
#include "device/winmm/WinMmPortNames.h"

namespace vantrel {

namespace {

// One buffer holds the longest message the link takes; the others catch what follows while the
// callback hands a full one on, so a longer message is not cut where a buffer ends.
constexpr std::size_t kInputBuffers = 4;
constexpr std::size_t kInputBufferSize = SysExAssembler::kCapacity;
constexpr UINT kHeaderSize = sizeof(MIDIHDR);
// A packet of 48 bytes takes 15 ms on a DIN cable; a port that has not finished sending after
// this long is reset so that the header can be released.
constexpr std::chrono::milliseconds kSendCompletionLimit{2000};
constexpr DWORD kSendPollMs = 5;

class WinMmBackend final : public MidiPortBackend {
  public:
    WinMmBackend() = default;

    ~WinMmBackend() override {
        // The same order as the link's: input stopped, then closed; then output.
        (void)StopInput();
        for (int attempt = 0; attempt < 12 && !CloseInput(); ++attempt) {
            (void)StopInput();
            ::Sleep(10);
        }
        for (int attempt = 0; attempt < 12 && !CloseOutput(); ++attempt)
            ::Sleep(10);
    }

    std::vector<std::string> InputPortNames() override { return winmm::InputPortNames(); }
    std::vector<std::string> OutputPortNames() override { return winmm::OutputPortNames(); }

    bool OpenInput(std::size_t index, MidiInputConfig config) override {
        if (in_ != nullptr || index >= ::midiInGetNumDevs())
            return false;
        CloseGate();
        onInput_ = std::move(config.onInput);
        HMIDIIN handle = nullptr;
        if (::midiInOpen(&handle, static_cast<UINT>(index), reinterpret_cast<DWORD_PTR>(&OnInput),
                         reinterpret_cast<DWORD_PTR>(this),
                         CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
            onInput_ = nullptr;
            return false;
        }
        in_ = handle;
        return true;
    }

    bool StartInput() override {
        if (in_ == nullptr || !onInput_)
            return false;
        // Every buffer is prepared and queued before the port starts; the gate opens first,
        // since the system may hand a buffer back as soon as the port runs.
        for (InputBuffer& buffer : buffers_) {
            if (!buffer.prepared) {
                buffer.header = MIDIHDR{};
                buffer.header.lpData = buffer.bytes.data();
                buffer.header.dwBufferLength = static_cast<DWORD>(buffer.bytes.size());
                if (::midiInPrepareHeader(in_, &buffer.header, kHeaderSize) != MMSYSERR_NOERROR)
                    return false;
                buffer.prepared = true;
            }
            if ((buffer.header.dwFlags & MHDR_INQUEUE) == 0) {
                buffer.header.dwBytesRecorded = 0;
                if (::midiInAddBuffer(in_, &buffer.header, kHeaderSize) != MMSYSERR_NOERROR)
                    return false;
            }
        }
        requeue_.store(true);
        delivering_.store(true);
        if (::midiInStart(in_) != MMSYSERR_NOERROR) {
            CloseGate();
            return false;
        }
        return true;
    }

    bool StopInput() override {
        if (in_ == nullptr)
            return true;
        // No callback queues a buffer again from here on, so the reset returns them all.
        CloseGate();
        const bool stopped = ::midiInStop(in_) == MMSYSERR_NOERROR;
        const bool reset = ::midiInReset(in_) == MMSYSERR_NOERROR;
        WaitForCallbacks();
        return stopped && reset;
    }

    bool CloseInput() override {
        if (in_ == nullptr)
            return true;
        CloseGate();
        // A buffer the system still holds cannot be released; the link resets the port and
        // tries again, so the port is never closed over memory the driver may still write.
        for (InputBuffer& buffer : buffers_) {
            if (!buffer.prepared)
                continue;
            const MMRESULT result = ::midiInUnprepareHeader(in_, &buffer.header, kHeaderSize);
            if (result == MIDIERR_STILLPLAYING)
                return false;
            buffer.prepared = false;
        }
        if (::midiInClose(in_) == MIDIERR_STILLPLAYING)
            return false;
        // Any other answer counts as closed.
        in_ = nullptr;
        onInput_ = nullptr;
        return true;
    }

    bool OpenOutput(std::size_t index) override {
        if (out_ != nullptr || index >= ::midiOutGetNumDevs())
            return false;
        HMIDIOUT handle = nullptr;
        if (::midiOutOpen(&handle, static_cast<UINT>(index), 0, 0, CALLBACK_NULL) !=
            MMSYSERR_NOERROR) {
            return false;
        }
        out_ = handle;
        return true;
    }

    bool CloseOutput() override {
        if (out_ == nullptr)
            return true;
        if (::midiOutClose(out_) != MMSYSERR_NOERROR) {
            // The link waits and tries again; the reset ends what the port is still sending.
            (void)::midiOutReset(out_);
            return false;
        }
        out_ = nullptr;
        return true;
    }

    bool Send(std::span<const std::uint8_t> bytes) override {
        if (out_ == nullptr || bytes.empty())
            return false;
        sendBuffer_.assign(bytes.begin(), bytes.end());
        MIDIHDR header{};
        header.lpData = sendBuffer_.data();
        header.dwBufferLength = static_cast<DWORD>(sendBuffer_.size());
        if (::midiOutPrepareHeader(out_, &header, kHeaderSize) != MMSYSERR_NOERROR)
            return false;
        const bool sent = ::midiOutLongMsg(out_, &header, kHeaderSize) == MMSYSERR_NOERROR;
        // The header (and the buffer) must stay until the port has finished with them.
        const auto start = std::chrono::steady_clock::now();
        while (::midiOutUnprepareHeader(out_, &header, kHeaderSize) == MIDIERR_STILLPLAYING) {
            if (std::chrono::steady_clock::now() - start > kSendCompletionLimit) {
                (void)::midiOutReset(out_);
                (void)::midiOutUnprepareHeader(out_, &header, kHeaderSize);
                return false;
            }
            ::Sleep(kSendPollMs);
        }
        return sent;
    }

  private:
    struct InputBuffer {
        MIDIHDR header{};
        std::array<char, kInputBufferSize> bytes{};
        bool prepared = false;
    };

    // The system's MIDI thread. Only hands the bytes on and queues the buffer again: no lock,
    // no allocation (onInput_ joins bytes into a preallocated buffer and a fixed ring).
    static void CALLBACK OnInput(HMIDIIN handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                 DWORD_PTR /*param2*/) {
        if (message != MIM_LONGDATA && message != MIM_LONGERROR)
            return;
        auto* self = reinterpret_cast<WinMmBackend*>(instance);
        auto* header = reinterpret_cast<MIDIHDR*>(param1);
        self->inCallback_.fetch_add(1);
        // A buffer handed back with an error holds an incomplete message; the next F0h starts
        // afresh in the joiner.
        if (message == MIM_LONGDATA && self->delivering_.load() && header->dwBytesRecorded > 0) {
            self->onInput_(std::span<const std::uint8_t>(
                reinterpret_cast<const std::uint8_t*>(header->lpData), header->dwBytesRecorded));
        }
        if (self->requeue_.load()) {
            header->dwBytesRecorded = 0;
            (void)::midiInAddBuffer(handle, header, kHeaderSize);
        }
        self->inCallback_.fetch_sub(1);
    }

    // Once this returns, no callback runs, none delivers and none queues a buffer again.
    void CloseGate() {
        requeue_.store(false);
        delivering_.store(false);
        WaitForCallbacks();
    }

    void WaitForCallbacks() {
        while (inCallback_.load() != 0)
            std::this_thread::yield();
    }

    HMIDIIN in_ = nullptr;
    HMIDIOUT out_ = nullptr;
    std::array<InputBuffer, kInputBuffers> buffers_{};
    std::vector<char> sendBuffer_;  // the caller serialises Send
    MidiInputCallback onInput_;     // written only while the gate is closed
    std::atomic<bool> delivering_{false};
    std::atomic<bool> requeue_{false};
    std::atomic<int> inCallback_{0};
};

}  // namespace

std::unique_ptr<MidiPortBackend> MakeWinMmBackend() {
    return std::make_unique<WinMmBackend>();
}

}  // namespace vantrel
