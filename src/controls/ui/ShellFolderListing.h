#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

#include "controls/ui/ShellListTexts.h"

namespace vantrel {

// One row of the file list as read from the folder.
struct ShellRow {
    QString name;
    bool isFolder = false;
    std::uint64_t size = 0;
    QDateTime modified;
};

struct ShellListingOptions {
    ShellFilter filter = ShellFilter::Midi;
    bool showFolders = true;
    bool showHidden = false;
};

// The rows of a folder: its folders (when shown) and the files that pass the filter, folders
// first, each group sorted by name ignoring case. Hidden means what the platform calls hidden
// (a name starting with a dot on Unix, the hidden attribute on Windows); folders are listed
// whatever their permissions, so a read-only folder of music stays reachable.
std::vector<ShellRow> ListShellFolder(const QString& folder, const ShellListingOptions& options);

}  // namespace vantrel
