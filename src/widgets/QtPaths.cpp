#include "widgets/QtPaths.h"

#include <QFile>

namespace vantrel {

std::filesystem::path ToFsPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString FromFsPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

std::vector<std::string> ToFsNames(const QStringList& names) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        result.push_back(ToFsPath(name).string());
    }
    return result;
}

}  // namespace vantrel
