#include "controls/ui/ShellListModel.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

#include "widgets/MidiTypeIcon.h"

namespace vantrel {

namespace {

QString Header(ShellListModel::Column column) {
    switch (column) {
        case ShellListModel::Column::Name:
            return QStringLiteral("Name");
        case ShellListModel::Column::SongName:
            return QStringLiteral("Song Name");
        case ShellListModel::Column::Size:
            return QStringLiteral("Size");
        case ShellListModel::Column::Type:
            return QStringLiteral("Type");
        case ShellListModel::Column::Modified:
            return QStringLiteral("Modified");
    }
    return {};
}

const QIcon& FolderIcon() {
    static const QIcon icon = QFileIconProvider().icon(QAbstractFileIconProvider::Folder);
    return icon;
}

const QIcon& PlainFileIcon() {
    static const QIcon icon = QFileIconProvider().icon(QAbstractFileIconProvider::File);
    return icon;
}

}  // namespace

ShellListModel::ShellListModel(ShellFilter filter, QObject* parent) : QAbstractTableModel(parent) {
    if (filter == ShellFilter::Midi) {
        columns_ = {Column::Name, Column::SongName, Column::Size, Column::Type, Column::Modified};
    } else {
        columns_ = {Column::Name, Column::Size, Column::Type, Column::Modified};
    }
}

void ShellListModel::SetRows(std::vector<ShellRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    songNames_.assign(rows_.size(), QString());
    endResetModel();
}

int ShellListModel::ColumnIndex(Column column) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i] == column) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ShellListModel::SetSongNames(const QList<int>& rows, const QStringList& names) {
    const int column = ColumnIndex(Column::SongName);
    int first = rowCount();
    int last = -1;
    for (qsizetype i = 0; i < rows.size() && i < names.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= rowCount()) {
            continue;
        }
        songNames_[static_cast<std::size_t>(row)] = names[i];
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (column >= 0 && last >= first) {
        Q_EMIT dataChanged(index(first, column), index(last, column), {Qt::DisplayRole});
    }
}

QString ShellListModel::SongName(int row) const {
    return songNames_[static_cast<std::size_t>(row)];
}

int ShellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ShellListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ShellListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const ShellRow& row = Row(index.row());
    const Column column = columns_[static_cast<std::size_t>(index.column())];
    if (role == Qt::DecorationRole && column == Column::Name) {
        if (row.isFolder) {
            return FolderIcon();
        }
        return PassesFilter(row.name, ShellFilter::Midi) ? MidiTypeIcon() : PlainFileIcon();
    }
    if (role == Qt::TextAlignmentRole && column == Column::Size) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    switch (column) {
        case Column::Name:
            return row.name;
        case Column::SongName:
            return SongName(index.row());
        case Column::Size:
            return SizeText(row.size);
        case Column::Type:
            return TypeName(row);
        case Column::Modified:
            return ModifiedText(row.modified);
    }
    return {};
}

QVariant ShellListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount()) {
        return {};
    }
    return Header(columns_[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags ShellListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid()) {
        flags |= Qt::ItemIsDragEnabled;
        if (columns_[static_cast<std::size_t>(index.column())] == Column::Name) {
            flags |= Qt::ItemIsEditable;
        }
    }
    return flags;
}

bool ShellListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role == Qt::EditRole && index.isValid() && index.row() < rowCount()) {
        Q_EMIT RenameRequested(Row(index.row()).name, value.toString());
    }
    return false;
}

QString ShellListModel::TypeName(const ShellRow& row) const {
    if (row.isFolder) {
        return QStringLiteral("Folder");
    }
    const QString suffix = QFileInfo(row.name).suffix().toLower();
    auto found = typeNames_.constFind(suffix);
    if (found == typeNames_.constEnd()) {
        const QMimeType type =
            QMimeDatabase().mimeTypeForFile(row.name, QMimeDatabase::MatchExtension);
        found = typeNames_.insert(suffix, type.comment().isEmpty() ? type.name() : type.comment());
    }
    return *found;
}

}  // namespace vantrel
