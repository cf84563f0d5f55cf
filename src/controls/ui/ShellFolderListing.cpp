#include "controls/ui/ShellFolderListing.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace vantrel {

std::vector<ShellRow> ListShellFolder(const QString& folder, const ShellListingOptions& options) {
    QDir::Filters filters = QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot;
    if (options.showHidden) {
        filters |= QDir::Hidden;
    }
    std::vector<ShellRow> rows;
    QDirIterator it(folder, filters);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir()) {
            if (options.showFolders) {
                rows.push_back({info.fileName(), true, 0, info.lastModified()});
            }
        } else if (info.isFile() && PassesFilter(info.fileName(), options.filter)) {
            rows.push_back({info.fileName(), false, static_cast<std::uint64_t>(info.size()),
                            info.lastModified()});
        }
    }
    std::sort(rows.begin(), rows.end(), [](const ShellRow& a, const ShellRow& b) {
        if (a.isFolder != b.isFolder) {
            return a.isFolder;
        }
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return rows;
}

}  // namespace vantrel
