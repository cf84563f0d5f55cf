#include "combine/ui/CTopListView.h"

#include "combine/CombineLists.h"
#include "combine/PartBlockBytes.h"
#include "combine/PartTexts.h"
#include "combine/ui/CombineListCtrl.h"
#include "repository/ImportPaths.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {

QString Heading(SubRepository sub) {
    const std::string_view name = SubRepositoryName(sub);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

CTopListView::CTopListView(SubRepository sub, CombineLists& lists, UserPrompt& prompt,
                           QWidget* parent)
    : QWidget(parent),
      sub_(sub),
      lists_(lists),
      prompt_(prompt),
      list_(new CombineListCtrl(Heading(sub), lists.List(sub).FolderPath(), this)) {
    connect(list_, &CombineListCtrl::EntryRemoveRequested, this, &CTopListView::RemoveEntry);
    connect(list_, &CombineListCtrl::EntriesRefreshRequested, this, &CTopListView::RefreshEntries);
    connect(list_, &CombineListCtrl::FilesDropped, this, &CTopListView::OnFilesDropped);
}

void CTopListView::RefreshEntries() {
    list_->clear();
    const auto& paths = lists_.List(sub_).EntryPaths();
    for (std::size_t position = 0; position < paths.size(); ++position) {
        list_->AddListItem(paths[position], ReadPartTexts(paths[position]),
                           MeasurePart(paths[position], PartBlock(sub_, position)));
    }
}

void CTopListView::RemoveEntry(const QString& name) {
    lists_.RemoveEntry(sub_, ToFsPath(name).string());
}

void CTopListView::OnFilesDropped(const QStringList& paths) {
    std::vector<std::filesystem::path> midiFiles;
    for (const QString& path : paths) {
        if (path.toUpper().endsWith(QStringLiteral(".MID"))) {
            midiFiles.push_back(ToFsPath(path));
        }
    }
    if (midiFiles.empty()) {
        return;
    }
    const ImportOutcome imported =
        ImportPaths(midiFiles, lists_.List(sub_).FolderPath(), true, prompt_);
    Q_EMIT RepositoryChanged();
    if (!imported.copied.empty()) {
        lists_.OnCombine(sub_, imported.copied, prompt_);
        RefreshEntries();
    }
}

void CTopListView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    list_->setGeometry(rect());
}

}  // namespace vantrel
