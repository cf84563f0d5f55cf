#include "controls/ui/BrowseToFiles.h"

#include <QDir>
#include <QFileInfo>

#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"

namespace vantrel {

bool BrowseToFiles(CCJShellTree& tree, CCJShellList& list, const QStringList& files) {
    if (files.isEmpty()) {
        return false;
    }
    const QString folder = QFileInfo(files.front()).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    QStringList names;
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (info.absolutePath() == folder) {
            names.push_back(info.fileName());
        }
    }
    list.SelectWhenListed(names);
    return tree.SelectFolder(folder);
}

}  // namespace vantrel
