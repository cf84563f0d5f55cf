#include "device/ui/DesktopDeviceLink.h"

#include <QCoreApplication>

#include "device/CMidiDevice.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"

namespace vantrel {

DesktopDeviceLink::DesktopDeviceLink(UserPrompt& prompt, std::shared_ptr<MidiPortBackend> backend) {
    CMidiDevice* device = CMidiDevice::AcquireDevice();
    device->SetPrompt(&prompt);
    device->SetPump([] { QCoreApplication::processEvents(); });
    // On the link worker: what a transfer the window did not wait for leaves (its steps,
    // messages and end) is delivered by a queued call on the window's thread.
    device->SetNoticeWake([] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (CMidiDevice* current = CMidiDevice::Instance())
                    current->DeliverNotices();
            },
            Qt::QueuedConnection);
    });
    device->SetBackend(std::move(backend));
    Trace().Start(kWindowTraceLines);
}

DesktopDeviceLink::~DesktopDeviceLink() {
    Trace().Stop();
    CMidiDevice* device = CMidiDevice::Instance();
    // The ports close (and the input thread stops) before the handler and the prompt go.
    device->SetBackend(nullptr);
    device->SetSysExHandler(nullptr);
    device->SetPump({});
    device->SetNoticeWake({});
    device->SetPrompt(nullptr);
    Link().deviceConnected.store(false);
    CMidiDevice::ReleaseDevice();
}

}  // namespace vantrel
