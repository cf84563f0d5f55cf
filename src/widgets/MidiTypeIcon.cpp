#include "widgets/MidiTypeIcon.h"

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace vantrel {

const QIcon& MidiTypeIcon() {
    static const QIcon icon = [] {
        const QMimeType type = QMimeDatabase().mimeTypeForName(QStringLiteral("audio/midi"));
        const QIcon fallback = QFileIconProvider().icon(QAbstractFileIconProvider::File);
        if (!type.isValid()) {
            return fallback;
        }
        return QIcon::fromTheme(type.iconName(),
                                QIcon::fromTheme(type.genericIconName(), fallback));
    }();
    return icon;
}

}  // namespace vantrel
