#include "repository/ui/CTopTabViewPage.h"

#include <QMenu>
#include <QVBoxLayout>
#include <system_error>

#include "repository/CRepository.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/FileTrash.h"
#include "widgets/ListKeys.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {

void RemoveEntryFile(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::remove(file, error);
}

}  // namespace

CTopTabViewPage::CTopTabViewPage(SubRepository sub, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), sub_(sub), prompt_(prompt), list_(new SubRepositoryListBox(sub)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    menuRunner_ = [](QMenu& menu, const QPoint& position) { menu.exec(position); };
    connect(list_, &SubRepositoryListBox::MenuRequested, this, &CTopTabViewPage::ShowMenu);
    InstallListKeys(
        *list_,
        {[this] { OnDelete(); }, [this](const QPoint& at) { list_->RequestMenuAt(at); }, {}});
}

void CTopTabViewPage::Refresh() {
    QStringList names;
    for (const std::string& name : CRepository::List(sub_)) {
        names.push_back(FromFsPath(name));
    }
    list_->SetNames(std::move(names));
}

void CTopTabViewPage::OnDelete() {
    DiscardItems(CRepository::EntryPaths(sub_, ToFsNames(list_->SelectedNames())), prompt_,
                 RemoveEntryFile);
    Refresh();
}

void CTopTabViewPage::OnDeleteAll() {
    DiscardItems(CRepository::EntryPaths(sub_, CRepository::List(sub_)), prompt_, RemoveEntryFile);
    Refresh();
}

void CTopTabViewPage::OnCopyTo(SubRepository target) {
    // The target page shows the copies the next time it is refilled (its tab is chosen, an
    // import, or refresh-all).
    CRepository::CopyTo(sub_, target, ToFsNames(list_->SelectedNames()));
}

void CTopTabViewPage::ShowMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Delete"), this, &CTopTabViewPage::OnDelete);
    for (const SubRepository target : kSubRepositories) {
        if (target != sub_) {
            const QString text =
                QStringLiteral("Copy To ") + QString::fromUtf8(SubRepositoryName(target).data());
            menu.addAction(text, this, [this, target] { OnCopyTo(target); });
        }
    }
    menu.addAction(QStringLiteral("Delete All"), this, &CTopTabViewPage::OnDeleteAll);
    menuRunner_(menu, globalPosition);
}

}  // namespace vantrel
