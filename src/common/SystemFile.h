#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>

namespace vantrel {

// The few file operations the standard library does not offer: an exclusive create, a flush to
// the disk, a hard link. One implementation per system (SystemFilePosix.cpp,
// SystemFileWindows.cpp); paths reach the system unconverted (wide on Windows).
class SystemFile {
  public:
    enum class Mode {
        Read,
        CreateOrTruncate,  // a new file, or an existing one emptied
        CreateNew,         // fails when the name exists, atomically
    };

    SystemFile(const std::filesystem::path& path, Mode mode);
    ~SystemFile();
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    bool Valid() const { return handle_ != kInvalid; }
    // Bytes read into buffer; 0 at the end of the file, -1 on an error.
    std::int64_t Read(std::span<std::uint8_t> buffer);
    bool WriteAll(std::span<const std::uint8_t> bytes);
    // Until this returns, the bytes written may still be only in the system's cache.
    bool Sync();
    // False when the system reports a late write error at close.
    bool Close();

  private:
    static constexpr std::intptr_t kInvalid = -1;
    std::intptr_t handle_ = kInvalid;  // a file descriptor, or a Windows HANDLE
};

enum class HardLinkResult {
    Made,
    NotSupportedHere,  // the file system has no hard links (FAT, exFAT, some network shares)
    Failed,            // the name exists, the folder refuses it, ...
};

HardLinkResult MakeHardLink(const std::filesystem::path& existing,
                            const std::filesystem::path& created);

// Opens a file for reading in binary mode (fopen, or _wfopen on Windows); null on failure.
std::FILE* OpenForBinaryRead(const std::filesystem::path& path);

unsigned long CurrentProcessId();

}  // namespace vantrel
