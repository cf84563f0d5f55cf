#include "device/ui/DeviceConnectAction.h"

#include "common/UserPrompt.h"
#include "device/CMidiDevice.h"
#include "device/DeviceConnector.h"
#include "device/LinkState.h"
#include "device/ui/CMidiDeviceDlg.h"

namespace vantrel {

DeviceConnectAction::DeviceConnectAction(UserPrompt& prompt, QWidget* dialogParent, QObject* parent)
    : QObject(parent),
      prompt_(prompt),
      dialogParent_(dialogParent),
      trans_(prompt),
      runChooser_([](CMidiDeviceDlg& dialog) { return dialog.exec() == QDialog::Accepted; }) {}

bool DeviceConnectAction::ConnectDevice(int inputIndex, std::string& deviceName, int outputIndex) {
    // A port never chosen is no port: the open fails as for a port that has gone away.
    const auto port = [](int index) {
        return index < 0 ? CMidiDevice::kMaxPorts : static_cast<std::size_t>(index);
    };
    return vantrel::ConnectDevice(trans_, prompt_, port(inputIndex), port(outputIndex),
                                  deviceName) == ConnectOutcome::Connected;
}

void DeviceConnectAction::OnConnect() {
    if (CMidiDevice::Instance() == nullptr || !Link().linkIdle.load()) {
        return;
    }
    CMidiDeviceDlg dialog(trans_, inputIndex_, outputIndex_, dialogParent_);
    if (!runChooser_(dialog)) {
        return;
    }
    if (!ConnectDevice(inputIndex_, deviceName_, outputIndex_)) {
        return;
    }
    Q_EMIT Connected();
    prompt_.Message(deviceName_ + " Connected!");
}

}  // namespace vantrel
