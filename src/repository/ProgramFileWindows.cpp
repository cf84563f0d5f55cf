#include <windows.h>

#include <vector>

#include "repository/ProgramFile.h"

namespace vantrel {

std::filesystem::path ProgramFilePath() {
    // The size needed is not reported; the buffer grows until the whole path fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            return {};
        if (length < size)
            return std::filesystem::path(std::wstring(buffer.data(), length));
    }
    return {};
}

}  // namespace vantrel
