#pragma once

#include <QDialog>

#include "device/LinkOptions.h"

class QLineEdit;
class QSpinBox;

namespace vantrel {

class UserPrompt;

// "Link settings": how the link paces and repeats a transfer for a slow cable or keyboard, and
// the keyboard maker's identifier. OK takes the values only when the identifier reads as three
// hexadecimal bytes; otherwise the user is told and the dialog stays open. "Restore Defaults"
// puts back the values the program starts with.
class LinkSettingsDlg : public QDialog {
    Q_OBJECT
  public:
    LinkSettingsDlg(const LinkOptions& shown, UserPrompt& prompt, QWidget* parent = nullptr);

    // The values taken by OK.
    const LinkOptions& Options() const { return options_; }

    QSpinBox& AckTimeoutBox() { return *ackTimeout_; }
    QSpinBox& RetriesBox() { return *retries_; }
    QSpinBox& PacketGapBox() { return *packetGap_; }
    QLineEdit& ManufacturerIdEdit() { return *manufacturerId_; }

    static const char* const kBadManufacturerId;

  public Q_SLOTS:
    void OnOK();
    void OnDefaults();

  private:
    void Show(const LinkOptions& options);

    UserPrompt& prompt_;
    LinkOptions options_;
    QSpinBox* ackTimeout_;
    QSpinBox* retries_;
    QSpinBox* packetGap_;
    QLineEdit* manufacturerId_;
};

}  // namespace vantrel
