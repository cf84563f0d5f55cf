#include "widgets/DesktopOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantrel {

DesktopOpener DesktopOpenerOfSystem() {
    return [](const QString& file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
}

}  // namespace vantrel
