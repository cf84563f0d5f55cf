#include "controls/ui/ShellListTexts.h"

#include <QStringDecoder>

namespace vantrel {

QString SizeText(std::uint64_t bytes) {
    if (bytes == 0) {
        return {};
    }
    if (bytes < 1000) {
        return QStringLiteral("1KB");
    }
    return QString::number(bytes / 1000) + QStringLiteral("KB");
}

QString ModifiedText(const QDateTime& lastWrite) {
    const QDateTime local = lastWrite.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    return QString::asprintf("%.2d/%.2d/%d %.2d:%.2d", date.month(), date.day(), date.year(),
                             time.hour(), time.minute());
}

bool PassesFilter(const QString& fileName, ShellFilter filter) {
    const QString suffix =
        filter == ShellFilter::Midi ? QStringLiteral(".MID") : QStringLiteral(".STY");
    return fileName.endsWith(suffix, Qt::CaseInsensitive);
}

QString DecodeMidiText(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return text;
}

}  // namespace vantrel
