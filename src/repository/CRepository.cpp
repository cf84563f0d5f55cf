#include "repository/CRepository.h"

#include <cctype>
#include <optional>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Utf8Path.h"
#include "repository/ModuleDirectory.h"
#include "repository/RepositoryRoot.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path>& RootSetting() {
    static std::optional<fs::path> root;
    return root;
}

bool IsPlainFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The named entry of a folder, or nullopt when the name could reach outside it or the file is
// not a plain file.
std::optional<fs::path> EntryPath(SubRepository sub, const std::string& name) {
    if (!CRepository::IsEntryName(name))
        return std::nullopt;
    fs::path path = CRepository::Folder(sub) / PathFromUtf8(name);
    if (!IsPlainFile(path))
        return std::nullopt;
    return path;
}

}  // namespace

void CRepository::SetRoot(fs::path root) {
    RootSetting() = std::move(root);
}

const fs::path& CRepository::Root() {
    std::optional<fs::path>& root = RootSetting();
    if (!root)
        root = DefaultRepositoryRoot().root;
    return *root;
}

fs::path CRepository::Folder(SubRepository sub) {
    return SubRepositoryFolder(Root(), sub);
}

void CRepository::CreateFolders() {
    EnsureFolderPath(Root());
    for (SubRepository sub : kSubRepositories)
        EnsureFolderPath(Folder(sub));
}

bool CRepository::IsEntryName(std::string_view name) {
    if (name.size() < 4 || name.find('/') != std::string_view::npos)
        return false;
    if (name == "." || name == "..")
        return false;
    const std::string_view suffix = name.substr(name.size() - 4);
    return suffix[0] == '.' && std::tolower(static_cast<unsigned char>(suffix[1])) == 'm' &&
           std::tolower(static_cast<unsigned char>(suffix[2])) == 'i' &&
           std::tolower(static_cast<unsigned char>(suffix[3])) == 'd';
}

std::vector<std::string> CRepository::List(SubRepository sub) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(Folder(sub), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsEntryName(name) && IsPlainFile(it->path()))
            names.push_back(name);
    }
    return names;
}

std::vector<fs::path> CRepository::EntryPaths(SubRepository sub,
                                              const std::vector<std::string>& names) {
    std::vector<fs::path> paths;
    for (const std::string& name : names) {
        if (auto path = EntryPath(sub, name))
            paths.push_back(std::move(*path));
    }
    return paths;
}

void CRepository::Remove(SubRepository sub, const std::vector<std::string>& names) {
    for (const fs::path& path : EntryPaths(sub, names)) {
        std::error_code ec;
        fs::remove(path, ec);
    }
}

void CRepository::RemoveAll(SubRepository sub) {
    Remove(sub, List(sub));
}

std::vector<std::string> CRepository::CopyTo(SubRepository from, SubRepository to,
                                             const std::vector<std::string>& names) {
    std::vector<std::string> failed;
    for (const std::string& name : names) {
        if (const auto source = EntryPath(from, name)) {
            const fs::path target = Folder(to) / PathFromUtf8(name);
            std::error_code ec;
            if (!CopyFileAtomically(*source, target, false) && !fs::exists(target, ec)) {
                failed.push_back(name);
            }
        }
    }
    return failed;
}

}  // namespace vantrel
