#include "device/ui/DevListCtrl.h"

#include <QHeaderView>
#include <QPixmap>

#include "combine/SlotChoice.h"
#include "common/UserPrompt.h"
#include "widgets/MidiTypeIcon.h"

namespace vantrel {

DevListCtrl::DevListCtrl(UserPrompt& prompt, QWidget* parent)
    : QTreeWidget(parent), prompt_(prompt), menuRunner_(ExecMenu()) {
    setObjectName(QStringLiteral("DevListCtrl"));
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Device")});
    header()->setSectionsClickable(false);
    setColumnWidth(0, 150);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &DevListCtrl::ShowMenu);
}

void DevListCtrl::AddSlotLine(const std::string& name) {
    auto* item = new QTreeWidgetItem(this, {QString::fromStdString(name)});
    // A free slot shows no picture, but keeps the picture's place, so every line has the same
    // height and the names stand in one column.
    static const QIcon blank = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    item->setIcon(0, name == kEmptySlotText ? blank : MidiTypeIcon());
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

void DevListCtrl::ShowMenu(const QPoint& viewportPosition) {
    ShowDeleteRefreshMenu(
        *this, viewportPosition, menuRunner_, [this] { OnDelete(); },
        [this] { emit SlotsRefreshRequested(); });
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
            emit SlotDeleteRequested(static_cast<int>(row));
        }
    }
    emit SlotDeleteRequested(-1);
}

}  // namespace vantrel
