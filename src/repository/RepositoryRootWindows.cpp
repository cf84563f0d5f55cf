#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/SystemFile.h"
#include "repository/RepositoryRoot.h"

namespace vantrel {

namespace fs = std::filesystem;

fs::path UserDataRepositoryRoot() {
    const wchar_t* localAppData = ::_wgetenv(L"LOCALAPPDATA");
    const fs::path base = localAppData != nullptr && fs::path(localAppData).is_absolute()
                              ? fs::path(localAppData)
                              : fs::temp_directory_path();
    return base / "Vantrel" / "Repository";
}

// The read-only attribute says nothing about a folder's permissions on Windows (Program Files
// has none, yet refuses a user's files), so a probe file is made and removed at once.
bool FolderWritable(const fs::path& folder) {
    const fs::path probe =
        folder / (".vantrel-probe-" + std::to_string(CurrentProcessId()) + ".tmp");
    bool made = false;
    {
        SystemFile file(probe, SystemFile::Mode::CreateNew);
        made = file.Valid();
    }
    if (made) {
        std::error_code ec;
        fs::remove(probe, ec);
    }
    return made;
}

}  // namespace vantrel
