#include "widgets/FileDrops.h"

#include <QMimeData>
#include <QUrl>

namespace vantrel {

QStringList LocalFilesOf(const QMimeData& data) {
    QStringList paths;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile());
        }
    }
    return paths;
}

}  // namespace vantrel
