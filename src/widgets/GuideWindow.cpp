#include "widgets/GuideWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vantrel {

GuideWindow::GuideWindow(const QString& guide, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser) {
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(QStringLiteral("Vantrel user guide"));
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(guide));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 600);
}

}  // namespace vantrel
