#include "device/ui/LinkSettingsDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/UserPrompt.h"

namespace vantrel {

namespace {

QSpinBox* MakeBox(const char* name, int lowest, int highest, const QString& suffix,
                  QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(lowest, highest);
    box->setSuffix(suffix);
    box->setAccelerated(true);
    return box;
}

int Ms(std::chrono::milliseconds duration) {
    return static_cast<int>(duration.count());
}

}  // namespace

const char* const LinkSettingsDlg::kBadManufacturerId =
    "The manufacturer identifier is three hexadecimal bytes from 00 to 7F, such as 00,21,3D.";

LinkSettingsDlg::LinkSettingsDlg(const LinkOptions& shown, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      options_(shown.Clamped()),
      ackTimeout_(
          MakeBox("AckTimeout", 1, Ms(LinkOptions::kMaxAckTimeout), QStringLiteral(" ms"), this)),
      retries_(MakeBox("Retries", 0, LinkOptions::kMaxRetries, QString(), this)),
      packetGap_(
          MakeBox("PacketGap", 0, Ms(LinkOptions::kMaxPacketGap), QStringLiteral(" ms"), this)),
      manufacturerId_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Link settings"));
    manufacturerId_->setObjectName(QStringLiteral("ManufacturerId"));
    manufacturerId_->setMaxLength(16);

    auto* note = new QLabel(
        QStringLiteral("For a slow cable or a keyboard that answers late. The settings are kept "
                       "and hold for every connect, slot list, delete and upload."),
        this);
    note->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Acknowledge time-out:"), ackTimeout_);
    form->addRow(QStringLiteral("Retries after a lost acknowledge:"), retries_);
    form->addRow(QStringLiteral("Pause after each acknowledge:"), packetGap_);
    form->addRow(QStringLiteral("Manufacturer identifier:"), manufacturerId_);
    ackTimeout_->setToolTip(QStringLiteral("How long each packet's acknowledge is awaited "
                                           "(default %1 ms)")
                                .arg(Ms(LinkOptions::kDefaultAckTimeout)));
    retries_->setToolTip(QStringLiteral("How often an upload that lost an acknowledge is sent "
                                        "again from its start (default %1), each time "
                                        "waiting twice as long for every acknowledge; a "
                                        "refusal by the keyboard is never retried")
                             .arg(LinkOptions::kDefaultRetries));
    packetGap_->setToolTip(
        QStringLiteral("A pause before each further packet, for keyboards "
                       "that need it (default 0 ms)"));
    manufacturerId_->setToolTip(
        QStringLiteral("The keyboard maker's System Exclusive identifier (default %1)")
            .arg(QString::fromStdString(sysex::FormatManufacturerId(sysex::kManufacturerId))));

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LinkSettingsDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &LinkSettingsDlg::OnDefaults);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
    Show(options_);
}

void LinkSettingsDlg::Show(const LinkOptions& options) {
    ackTimeout_->setValue(Ms(options.ackTimeout));
    retries_->setValue(options.retries);
    packetGap_->setValue(Ms(options.packetGap));
    manufacturerId_->setText(
        QString::fromStdString(sysex::FormatManufacturerId(options.manufacturerId)));
}

void LinkSettingsDlg::OnDefaults() {
    Show(LinkOptions{});
}

void LinkSettingsDlg::OnOK() {
    const auto id = sysex::ParseManufacturerId(manufacturerId_->text().trimmed().toStdString());
    if (!id) {
        prompt_.Message(kBadManufacturerId);
        manufacturerId_->setFocus();
        manufacturerId_->selectAll();
        return;
    }
    options_.ackTimeout = std::chrono::milliseconds(ackTimeout_->value());
    options_.retries = retries_->value();
    options_.packetGap = std::chrono::milliseconds(packetGap_->value());
    options_.manufacturerId = *id;
    accept();
}

}  // namespace vantrel
