#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <vector>

#include "controls/ui/ShellFolderListing.h"

namespace vantrel {

// The rows of the file list. Texts are formed when a row is shown, so filling the model with a
// folder of thousands of files costs little on the window's thread; song names arrive later
// from the reader. Editing a name does not change the row: it asks for a rename, and the list
// shows the new name only once the folder is read again.
class ShellListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum class Column { Name, SongName, Size, Type, Modified };

    explicit ShellListModel(ShellFilter filter, QObject* parent = nullptr);

    void SetRows(std::vector<ShellRow> rows);
    const ShellRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int ColumnIndex(Column column) const;
    // Song names of file rows; rows not given keep theirs.
    void SetSongNames(const QList<int>& rows, const QStringList& names);
    QString SongName(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  Q_SIGNALS:
    void RenameRequested(const QString& oldName, const QString& newName);

  private:
    QString TypeName(const ShellRow& row) const;

    std::vector<Column> columns_;
    std::vector<ShellRow> rows_;
    std::vector<QString> songNames_;
    mutable QHash<QString, QString> typeNames_;  // by lower-case suffix
};

}  // namespace vantrel
