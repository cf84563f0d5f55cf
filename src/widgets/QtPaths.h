#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

// Paths between Qt's strings and the core's std::filesystem::path, in the file system's own
// encoding, so names with non-ASCII characters reach the same file on every platform.
std::filesystem::path ToFsPath(const QString& path);
QString FromFsPath(const std::filesystem::path& path);
// Bare file names as the core takes them, in the file system's encoding.
std::vector<std::string> ToFsNames(const QStringList& names);

}  // namespace vantrel
