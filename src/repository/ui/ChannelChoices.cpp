#include "repository/ui/ChannelChoices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>

namespace vantrel {

namespace {

enum Column { kChannel, kNotes, kKeep, kTarget, kPlaced, kColumns };

// The Keep box centred in its cell.
QWidget* Centred(QCheckBox* box) {
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignCenter);
    layout->addWidget(box);
    return cell;
}

QTableWidgetItem* Fixed(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

ChannelChoices::ChannelChoices(QWidget* parent) : QTableWidget(0, kColumns, parent) {
    setObjectName(QStringLiteral("ChannelChoices"));
    setHorizontalHeaderLabels({QStringLiteral("Channel"), QStringLiteral("Notes"),
                               QStringLiteral("Keep"), QStringLiteral("Goes to"),
                               QStringLiteral("Now on")});
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setToolTip(QStringLiteral(
        "The keyboard plays channels 10 (drums) and 11 to 16. Untick Keep to leave a channel "
        "out; choose where a kept channel goes, or leave \"auto\": the drums stay on 10, the "
        "lowest part goes to the bass channel 12, the others to 13-16, then 11."));
}

void ChannelChoices::SetChannels(const std::map<int, int>& notesByChannel) {
    setRowCount(0);
    for (const auto& [channel, notes] : notesByChannel) {
        const int row = rowCount();
        insertRow(row);
        auto* name = Fixed(QString::number(channel));
        name->setData(Qt::UserRole, channel);
        setItem(row, kChannel, name);
        setItem(row, kNotes, Fixed(QString::number(notes)));
        auto* keep = new QCheckBox;
        keep->setChecked(true);
        keep->setAccessibleName(QStringLiteral("Keep channel %1").arg(channel));
        setCellWidget(row, kKeep, Centred(keep));
        auto* target = new QComboBox;
        target->addItem(QStringLiteral("auto"), 0);
        for (int place = 10; place <= 16; ++place)
            target->addItem(QString::number(place), place);
        setCellWidget(row, kTarget, target);
        setItem(row, kPlaced, Fixed(QString()));
        connect(keep, &QCheckBox::toggled, this, [this, target](bool kept) {
            target->setEnabled(kept);
            Q_EMIT Changed();
        });
        connect(target, &QComboBox::currentIndexChanged, this, &ChannelChoices::Changed);
    }
}

int ChannelChoices::RowOf(int channel) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row, kChannel)->data(Qt::UserRole).toInt() == channel)
            return row;
    }
    return -1;
}

QCheckBox* ChannelChoices::KeepBox(int channel) const {
    const int row = RowOf(channel);
    return row < 0 ? nullptr : cellWidget(row, kKeep)->findChild<QCheckBox*>();
}

QComboBox* ChannelChoices::TargetBox(int channel) const {
    const int row = RowOf(channel);
    return row < 0 ? nullptr : qobject_cast<QComboBox*>(cellWidget(row, kTarget));
}

std::string ChannelChoices::Apply(FitOptions& options) const {
    options.dropChannels.clear();
    options.channelMap.clear();
    std::map<int, int> senders;
    for (int row = 0; row < rowCount(); ++row) {
        const int channel = item(row, kChannel)->data(Qt::UserRole).toInt();
        if (!KeepBox(channel)->isChecked()) {
            options.dropChannels.insert(channel);
            continue;
        }
        const int place = TargetBox(channel)->currentData().toInt();
        if (place == 0)
            continue;
        if (const auto other = senders.find(place); other != senders.end()) {
            return "channels " + std::to_string(other->second) + " and " + std::to_string(channel) +
                   " both go to channel " + std::to_string(place) +
                   ": choose another place for one of them";
        }
        senders[place] = channel;
        options.channelMap[channel] = place;
    }
    return {};
}

void ChannelChoices::ShowPlacement(const std::map<int, int>& channelMap) {
    for (int row = 0; row < rowCount(); ++row) {
        const int channel = item(row, kChannel)->data(Qt::UserRole).toInt();
        const auto placed = channelMap.find(channel);
        item(row, kPlaced)
            ->setText(placed == channelMap.end() ? QStringLiteral("\u2013")
                                                 : QString::number(placed->second));
    }
}

}  // namespace vantrel
