#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "cable/WinMmCable.h"
#include "keyboard/DelayedOutput.h"
#include "keyboard/DelayedSender.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel::test {

// The test cable's own functions, found in the winmm.dll this process loaded. Null members mean
// that the system's winmm.dll was loaded instead (WINEDLLOVERRIDES=winmm=n,b is missing).
struct CableCalls {
    VantrelCablePlugCall plug = nullptr;
    VantrelCableDeliverCall deliver = nullptr;
    VantrelCableSetChunkCall setChunk = nullptr;
    VantrelCableSetBusyCall setBusy = nullptr;
    VantrelCableCallsCall calls = nullptr;

    bool Loaded() const { return plug && deliver && setChunk && setBusy && calls; }
    // The midi* calls made since the last time, one name a line.
    std::string TakeCalls() const;
};

const CableCalls& Cable();

// The in-process virtual keyboard at the far end of the cable: the packets the computer sends
// reach it on the sending thread, its replies go back through the cable.
class KeyboardOnCable {
  public:
    explicit KeyboardOnCable(KeyboardOptions options = {});
    ~KeyboardOnCable();
    KeyboardOnCable(const KeyboardOnCable&) = delete;
    KeyboardOnCable& operator=(const KeyboardOnCable&) = delete;

    VirtualKeyboard& Keyboard() { return keyboard_; }
    std::vector<std::vector<std::uint8_t>> Packets() const;
    // The user cancels the link as soon as this many packets have reached the keyboard.
    void CancelAfterPacket(std::size_t count) { cancelAfter_.store(count); }

  private:
    static void FromComputer(const unsigned char* bytes, unsigned length, void* user);

    DelayedSender sender_;
    DelayedOutput outbox_;
    VirtualKeyboard keyboard_;
    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> packets_;
    std::atomic<std::size_t> cancelAfter_{0};
};

}  // namespace vantrel::test
