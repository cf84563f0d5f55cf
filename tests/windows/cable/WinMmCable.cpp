// A test-only winmm.dll: a MIDI cable from this process to a far end in the same process (the
// test plugs the virtual keyboard in there), loaded in place of the system's winmm.dll with
// WINEDLLOVERRIDES=winmm=n,b. It keeps the rules of the real calls that the port layer relies
// on: headers must be prepared before use and cannot be released while queued, a port cannot be
// closed while it holds buffers, a reset hands every queued buffer back through the callback,
// and filled buffers come back on a thread of the cable's own.
#define _WINMM_
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "WinMmCable.h"

namespace {

using InputCallback = void(CALLBACK*)(HMIDIIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);

constexpr const wchar_t kPortName[] = L"Vantrel Test Cable";
const auto kInputHandle = reinterpret_cast<HMIDIIN>(static_cast<std::uintptr_t>(0x1001));
const auto kOutputHandle = reinterpret_cast<HMIDIOUT>(static_cast<std::uintptr_t>(0x2001));

struct Cable {
    std::mutex mutex;
    std::condition_variable wake;
    std::string calls;

    bool inOpen = false;
    bool started = false;
    bool stopping = false;
    InputCallback callback = nullptr;
    DWORD_PTR instance = 0;
    std::deque<MIDIHDR*> queued;
    std::deque<std::uint8_t> pending;  // from the far end, not yet in a buffer
    std::thread deliverer;
    unsigned chunk = 0;

    bool outOpen = false;
    VantrelCableFarEnd farEnd = nullptr;
    void* farEndUser = nullptr;
    unsigned busyOutUnprepares = 0;
    unsigned outUnpreparesLeft = 0;
    unsigned busyInCloses = 0;
};

Cable& TheCable() {
    static Cable cable;
    return cable;
}

void Record(Cable& cable, const char* call) {
    cable.calls += call;
    cable.calls += '\n';
}

void Call(Cable& cable, UINT message, DWORD_PTR param1) {
    if (cable.callback != nullptr)
        cable.callback(kInputHandle, message, cable.instance, param1, 0);
}

// The driver's thread: fills the oldest queued buffer with what the far end sent, hands it back.
void Deliver(Cable& cable) {
    std::unique_lock lock(cable.mutex);
    for (;;) {
        cable.wake.wait(lock, [&] {
            return cable.stopping ||
                   (cable.started && !cable.pending.empty() && !cable.queued.empty());
        });
        if (cable.stopping)
            return;
        MIDIHDR* header = cable.queued.front();
        cable.queued.pop_front();
        std::size_t room = header->dwBufferLength;
        if (cable.chunk != 0)
            room = std::min<std::size_t>(room, cable.chunk);
        std::size_t length = 0;
        // A buffer ends with a message's F7h, as a driver returns it.
        while (length < room && !cable.pending.empty()) {
            const std::uint8_t byte = cable.pending.front();
            cable.pending.pop_front();
            header->lpData[length++] = static_cast<char>(byte);
            if (byte == 0xF7)
                break;
        }
        header->dwBytesRecorded = static_cast<DWORD>(length);
        header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        lock.unlock();
        Call(cable, MIM_LONGDATA, reinterpret_cast<DWORD_PTR>(header));
        lock.lock();
    }
}

// Every queued buffer back to the computer, empty; the lock is not held.
void ReturnBuffers(Cable& cable, std::unique_lock<std::mutex>& lock) {
    std::deque<MIDIHDR*> returned;
    returned.swap(cable.queued);
    cable.pending.clear();
    for (MIDIHDR* header : returned) {
        header->dwBytesRecorded = 0;
        header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    }
    lock.unlock();
    for (MIDIHDR* header : returned)
        Call(cable, MIM_LONGDATA, reinterpret_cast<DWORD_PTR>(header));
    lock.lock();
}

}  // namespace

extern "C" {

UINT WINAPI midiInGetNumDevs() {
    return 1;
}

UINT WINAPI midiOutGetNumDevs() {
    return 1;
}

MMRESULT WINAPI midiInGetDevCapsW(UINT_PTR port, LPMIDIINCAPSW caps, UINT size) {
    if (port != 0)
        return MMSYSERR_BADDEVICEID;
    if (caps == nullptr || size < sizeof(MIDIINCAPSW))
        return MMSYSERR_INVALPARAM;
    *caps = MIDIINCAPSW{};
    std::wcscpy(caps->szPname, kPortName);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutGetDevCapsW(UINT_PTR port, LPMIDIOUTCAPSW caps, UINT size) {
    if (port != 0)
        return MMSYSERR_BADDEVICEID;
    if (caps == nullptr || size < sizeof(MIDIOUTCAPSW))
        return MMSYSERR_INVALPARAM;
    *caps = MIDIOUTCAPSW{};
    std::wcscpy(caps->szPname, kPortName);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInOpen(LPHMIDIIN handle, UINT port, DWORD_PTR callback, DWORD_PTR instance,
                           DWORD flags) {
    Cable& cable = TheCable();
    std::unique_lock lock(cable.mutex);
    Record(cable, "midiInOpen");
    if (port != 0)
        return MMSYSERR_BADDEVICEID;
    if (cable.inOpen)
        return MMSYSERR_ALLOCATED;
    if ((flags & CALLBACK_TYPEMASK) != CALLBACK_FUNCTION)
        return MMSYSERR_INVALFLAG;
    cable.inOpen = true;
    cable.started = false;
    cable.stopping = false;
    cable.callback = reinterpret_cast<InputCallback>(callback);
    cable.instance = instance;
    cable.deliverer = std::thread([&cable] { Deliver(cable); });
    *handle = kInputHandle;
    lock.unlock();
    Call(cable, MIM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInPrepareHeader(HMIDIIN handle, LPMIDIHDR header, UINT size) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiInPrepareHeader");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size < sizeof(MIDIHDR) || header->lpData == nullptr)
        return MMSYSERR_INVALPARAM;
    header->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInUnprepareHeader(HMIDIIN handle, LPMIDIHDR header, UINT size) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiInUnprepareHeader");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    if ((header->dwFlags & MHDR_INQUEUE) != 0)
        return MIDIERR_STILLPLAYING;
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInAddBuffer(HMIDIIN handle, LPMIDIHDR header, UINT size) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiInAddBuffer");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    if ((header->dwFlags & MHDR_PREPARED) == 0)
        return MIDIERR_UNPREPARED;
    if ((header->dwFlags & MHDR_INQUEUE) != 0)
        return MIDIERR_STILLPLAYING;
    header->dwFlags = (header->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    cable.queued.push_back(header);
    cable.wake.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInStart(HMIDIIN handle) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiInStart");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    cable.started = true;
    cable.wake.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInStop(HMIDIIN handle) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiInStop");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    cable.started = false;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInReset(HMIDIIN handle) {
    Cable& cable = TheCable();
    std::unique_lock lock(cable.mutex);
    Record(cable, "midiInReset");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    cable.started = false;
    ReturnBuffers(cable, lock);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInClose(HMIDIIN handle) {
    Cable& cable = TheCable();
    std::unique_lock lock(cable.mutex);
    Record(cable, "midiInClose");
    if (handle != kInputHandle || !cable.inOpen)
        return MMSYSERR_INVALHANDLE;
    if (cable.busyInCloses > 0) {
        --cable.busyInCloses;
        return MIDIERR_STILLPLAYING;
    }
    if (!cable.queued.empty())
        return MIDIERR_STILLPLAYING;
    cable.stopping = true;
    cable.wake.notify_all();
    std::thread deliverer = std::move(cable.deliverer);
    lock.unlock();
    if (deliverer.joinable())
        deliverer.join();
    Call(cable, MIM_CLOSE, 0);
    lock.lock();
    cable.inOpen = false;
    cable.callback = nullptr;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutOpen(LPHMIDIOUT handle, UINT port, DWORD_PTR, DWORD_PTR, DWORD) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiOutOpen");
    if (port != 0)
        return MMSYSERR_BADDEVICEID;
    if (cable.outOpen)
        return MMSYSERR_ALLOCATED;
    cable.outOpen = true;
    *handle = kOutputHandle;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutPrepareHeader(HMIDIOUT handle, LPMIDIHDR header, UINT size) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiOutPrepareHeader");
    if (handle != kOutputHandle || !cable.outOpen)
        return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size < sizeof(MIDIHDR) || header->lpData == nullptr)
        return MMSYSERR_INVALPARAM;
    header->dwFlags = MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutUnprepareHeader(HMIDIOUT handle, LPMIDIHDR header, UINT size) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiOutUnprepareHeader");
    if (handle != kOutputHandle || !cable.outOpen)
        return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    if (cable.outUnpreparesLeft > 0) {
        --cable.outUnpreparesLeft;
        return MIDIERR_STILLPLAYING;
    }
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutLongMsg(HMIDIOUT handle, LPMIDIHDR header, UINT size) {
    Cable& cable = TheCable();
    std::unique_lock lock(cable.mutex);
    Record(cable, "midiOutLongMsg");
    if (handle != kOutputHandle || !cable.outOpen)
        return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size < sizeof(MIDIHDR))
        return MMSYSERR_INVALPARAM;
    if ((header->dwFlags & MHDR_PREPARED) == 0)
        return MIDIERR_UNPREPARED;
    const VantrelCableFarEnd farEnd = cable.farEnd;
    void* user = cable.farEndUser;
    cable.outUnpreparesLeft = cable.busyOutUnprepares;
    lock.unlock();
    if (farEnd != nullptr)
        farEnd(reinterpret_cast<const unsigned char*>(header->lpData), header->dwBufferLength,
               user);
    header->dwFlags |= MHDR_DONE;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutReset(HMIDIOUT handle) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiOutReset");
    if (handle != kOutputHandle || !cable.outOpen)
        return MMSYSERR_INVALHANDLE;
    cable.outUnpreparesLeft = 0;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutClose(HMIDIOUT handle) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    Record(cable, "midiOutClose");
    if (handle != kOutputHandle || !cable.outOpen)
        return MMSYSERR_INVALHANDLE;
    cable.outOpen = false;
    return MMSYSERR_NOERROR;
}

void VantrelCablePlug(VantrelCableFarEnd farEnd, void* user) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    cable.farEnd = farEnd;
    cable.farEndUser = user;
}

void VantrelCableDeliver(const unsigned char* bytes, unsigned length) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    if (!cable.inOpen)
        return;
    cable.pending.insert(cable.pending.end(), bytes, bytes + length);
    cable.wake.notify_all();
}

void VantrelCableSetChunk(unsigned chunk) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    cable.chunk = chunk;
}

void VantrelCableSetBusy(unsigned outUnprepares, unsigned inCloses) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    cable.busyOutUnprepares = outUnprepares;
    cable.busyInCloses = inCloses;
}

unsigned VantrelCableCalls(char* text, unsigned size) {
    Cable& cable = TheCable();
    const std::lock_guard lock(cable.mutex);
    const auto length = static_cast<unsigned>(cable.calls.size());
    if (size > 0) {
        const unsigned copied = std::min(length, size - 1);
        std::memcpy(text, cable.calls.data(), copied);
        text[copied] = '\0';
    }
    cable.calls.clear();
    return length;
}

}  // extern "C"
