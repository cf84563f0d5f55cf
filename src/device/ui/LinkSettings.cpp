#include "device/ui/LinkSettings.h"

#include <QSettings>

namespace vantrel {

namespace {

const QString kAckTimeout = QStringLiteral("link/ackTimeoutMs");
const QString kRetries = QStringLiteral("link/retries");
const QString kPacketGap = QStringLiteral("link/packetGapMs");
const QString kManufacturerId = QStringLiteral("link/manufacturerId");

int ReadInt(const QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

std::unique_ptr<QSettings> ProgramSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Vantrel"), QStringLiteral("Vantrel"));
}

LinkOptions ReadLinkSettings(const QSettings& settings) {
    LinkOptions options;
    options.ackTimeout = std::chrono::milliseconds(
        ReadInt(settings, kAckTimeout, static_cast<int>(options.ackTimeout.count())));
    options.retries = ReadInt(settings, kRetries, options.retries);
    options.packetGap = std::chrono::milliseconds(
        ReadInt(settings, kPacketGap, static_cast<int>(options.packetGap.count())));
    const auto id =
        sysex::ParseManufacturerId(settings.value(kManufacturerId).toString().toStdString());
    if (id)
        options.manufacturerId = *id;
    return options.Clamped();
}

void WriteLinkSettings(QSettings& settings, const LinkOptions& options) {
    const LinkOptions kept = options.Clamped();
    settings.setValue(kAckTimeout, static_cast<int>(kept.ackTimeout.count()));
    settings.setValue(kRetries, kept.retries);
    settings.setValue(kPacketGap, static_cast<int>(kept.packetGap.count()));
    settings.setValue(kManufacturerId,
                      QString::fromStdString(sysex::FormatManufacturerId(kept.manufacturerId)));
    settings.sync();
}

void ApplyLinkSettings(const QSettings& settings) {
    ApplyLinkOptions(ReadLinkSettings(settings));
}

}  // namespace vantrel
