#include "device/ui/DevListCtrl.h"

#include <QHeaderView>
#include <QPixmap>

#include "common/UserPrompt.h"
#include "device/DeviceSlots.h"
#include "widgets/ListKeys.h"
#include "widgets/MidiTypeIcon.h"

namespace vantrel {

DevListCtrl::DevListCtrl(UserPrompt& prompt, QWidget* parent)
    : QTreeWidget(parent), prompt_(prompt), menuRunner_(ExecMenu()) {
    setObjectName(QStringLiteral("DevListCtrl"));
    // The slot's name stays the first column, which the upload and the deletions read; the
    // number is shown before it.
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Device"), QStringLiteral("No.")});
    header()->setSectionsClickable(false);
    header()->moveSection(kNumberColumn, 0);
    setColumnWidth(kNumberColumn, 36);
    setColumnWidth(0, 150);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &DevListCtrl::ShowMenu);
    InstallListKeys(*this,
                    {[this] { OnDelete(); }, [this](const QPoint& at) { ShowMenu(at); }, {}});
}

void DevListCtrl::AddSlotLine(const std::string& name) {
    const int slot = topLevelItemCount();
    auto* item = new QTreeWidgetItem(this, {QString::fromStdString(name), QString::number(slot)});
    item->setTextAlignment(kNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
    const auto note = uploadNotes_.find(slot);
    if (note != uploadNotes_.end()) {
        item->setToolTip(0, note->second);
        item->setToolTip(kNumberColumn, note->second);
    }
    // A free slot shows no picture, but keeps the picture's place, so every line has the same
    // height and the names stand in one column.
    static const QIcon blank = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    item->setIcon(0, name == kEmptySlotText ? blank : MidiTypeIcon());
}

void DevListCtrl::SetUploadNote(int slot, const QString& note) {
    uploadNotes_[slot] = note;
    if (QTreeWidgetItem* item = topLevelItem(slot)) {
        item->setToolTip(0, note);
        item->setToolTip(kNumberColumn, note);
    }
}

std::vector<std::string> DevListCtrl::Lines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        lines.push_back(topLevelItem(row)->text(0).toStdString());
    }
    return lines;
}

std::vector<std::size_t> DevListCtrl::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected()) {
            rows.push_back(static_cast<std::size_t>(row));
        }
    }
    return rows;
}

void DevListCtrl::SelectRows(const std::vector<std::size_t>& rows) {
    clearSelection();
    for (const std::size_t row : rows) {
        if (row < static_cast<std::size_t>(topLevelItemCount()))
            topLevelItem(static_cast<int>(row))->setSelected(true);
    }
}

void DevListCtrl::ShowMenu(const QPoint& viewportPosition) {
    ShowDeleteRefreshMenu(
        *this, viewportPosition, menuRunner_, [this] { OnDelete(); },
        [this] { Q_EMIT SlotsRefreshRequested(); });
}

void DevListCtrl::OnDelete() {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty()) {
        return;
    }
    const std::vector<std::string> lines = Lines();
    for (std::size_t row : rows) {
        if (lines[row] != kEmptySlotText &&
            prompt_.Ask("Delete " + lines[row] + "?", PromptButtons::YesNo) == PromptAnswer::Yes) {
            // What this program stored there is gone with it.
            uploadNotes_.erase(static_cast<int>(row));
            Q_EMIT SlotDeleteRequested(static_cast<int>(row));
        }
    }
    Q_EMIT SlotDeleteRequested(-1);
}

}  // namespace vantrel
