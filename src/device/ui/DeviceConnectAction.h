#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "device/CMidiTrans.h"

class QWidget;

namespace vantrel {

class CMidiDeviceDlg;
class UserPrompt;

// The device panel's Connect: the port chooser, then the link to the chosen ports and the
// device's name. The chosen port indices live here for the whole run, so the chooser preselects
// the ports chosen last time by their names.
class DeviceConnectAction : public QObject {
    Q_OBJECT
  public:
    // Shows the chooser and answers whether it was closed with OK; tests replace it.
    using ChooserRunner = std::function<bool(CMidiDeviceDlg& dialog)>;

    DeviceConnectAction(UserPrompt& prompt, QWidget* dialogParent, QObject* parent = nullptr);

    void SetChooserRunner(ChooserRunner runner) { runChooser_ = std::move(runner); }
    int InputIndex() const { return inputIndex_; }
    int OutputIndex() const { return outputIndex_; }
    const std::string& DeviceName() const { return deviceName_; }

    // "Device cannot be opened!" or "Connect request error!" when it fails.
    bool ConnectDevice(int inputIndex, std::string& deviceName, int outputIndex);

  public Q_SLOTS:
    // Only while no device transaction runs. After a good connect the slot list is read
    // (Connected) before "NAME Connected!" is shown.
    void OnConnect();

  Q_SIGNALS:
    void Connected();

  private:
    UserPrompt& prompt_;
    QWidget* dialogParent_;
    CMidiTrans trans_;
    ChooserRunner runChooser_;
    int inputIndex_ = -1;
    int outputIndex_ = -1;
    std::string deviceName_;
};

}  // namespace vantrel
