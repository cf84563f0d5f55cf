#include "common/SystemFile.h"

#include <windows.h>

#include <algorithm>

namespace vantrel {

namespace {

// INVALID_HANDLE_VALUE is -1, as kInvalid.
HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

HANDLE Open(const std::filesystem::path& path, SystemFile::Mode mode) {
    const bool read = mode == SystemFile::Mode::Read;
    const DWORD access = read ? GENERIC_READ : GENERIC_WRITE;
    const DWORD share = read ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
    const DWORD disposition = read                                  ? OPEN_EXISTING
                              : mode == SystemFile::Mode::CreateNew ? CREATE_NEW
                                                                    : CREATE_ALWAYS;
    return ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

}  // namespace

SystemFile::SystemFile(const std::filesystem::path& path, Mode mode)
    : handle_(reinterpret_cast<std::intptr_t>(Open(path, mode))) {}

SystemFile::~SystemFile() {
    (void)Close();
}

std::int64_t SystemFile::Read(std::span<std::uint8_t> buffer) {
    DWORD got = 0;
    const auto size = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    if (!::ReadFile(Handle(handle_), buffer.data(), size, &got, nullptr))
        return -1;
    return got;
}

bool SystemFile::WriteAll(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(Handle(handle_), bytes.data(), size, &written, nullptr) || written == 0)
            return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

bool SystemFile::Sync() {
    return ::FlushFileBuffers(Handle(handle_)) != 0;
}

bool SystemFile::Close() {
    if (handle_ == kInvalid)
        return true;
    const bool closed = ::CloseHandle(Handle(handle_)) != 0;
    handle_ = kInvalid;
    return closed;
}

HardLinkResult MakeHardLink(const std::filesystem::path& existing,
                            const std::filesystem::path& created) {
    if (::CreateHardLinkW(created.c_str(), existing.c_str(), nullptr))
        return HardLinkResult::Made;
    switch (::GetLastError()) {
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:  // FAT answers this
        case ERROR_NOT_SAME_DEVICE:
        case ERROR_TOO_MANY_LINKS:
            return HardLinkResult::NotSupportedHere;
        default:
            return HardLinkResult::Failed;
    }
}

std::FILE* OpenForBinaryRead(const std::filesystem::path& path) {
    return ::_wfopen(path.c_str(), L"rb");
}

unsigned long CurrentProcessId() {
    return ::GetCurrentProcessId();
}

}  // namespace vantrel
