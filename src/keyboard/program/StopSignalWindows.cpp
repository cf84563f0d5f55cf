#include <windows.h>

#include "keyboard/program/StopSignal.h"

namespace vantrel {

namespace {

// Set by the console's handler thread, waited for by the main thread.
HANDLE stopEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD /*event*/) {
    ::SetEvent(stopEvent);
    // Handled: the process is not ended at once, so that the main thread closes the ports.
    return TRUE;
}

}  // namespace

StopSignal::StopSignal() {
    stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
}

void StopSignal::Wait() {
    ::WaitForSingleObject(stopEvent, INFINITE);
}

}  // namespace vantrel
