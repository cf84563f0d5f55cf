#include "common/SystemFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vantrel {

namespace {

int Descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

int OpenFlags(SystemFile::Mode mode) {
    switch (mode) {
        case SystemFile::Mode::Read:
            return O_RDONLY | O_CLOEXEC;
        case SystemFile::Mode::CreateOrTruncate:
            return O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
        case SystemFile::Mode::CreateNew:
            return O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    }
    return O_RDONLY | O_CLOEXEC;
}

}  // namespace

// A new file gets the default mode of a new file, never a source's mode, which FAT cannot hold
// and would refuse.
SystemFile::SystemFile(const std::filesystem::path& path, Mode mode)
    : handle_(::open(path.c_str(), OpenFlags(mode), 0666)) {}

SystemFile::~SystemFile() {
    (void)Close();
}

std::int64_t SystemFile::Read(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t got = ::read(Descriptor(handle_), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        return got;
    }
}

bool SystemFile::WriteAll(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t written = ::write(Descriptor(handle_), data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool SystemFile::Sync() {
    return ::fsync(Descriptor(handle_)) == 0;
}

bool SystemFile::Close() {
    if (handle_ == kInvalid)
        return true;
    const int result = ::close(Descriptor(handle_));
    handle_ = kInvalid;
    return result == 0;
}

HardLinkResult MakeHardLink(const std::filesystem::path& existing,
                            const std::filesystem::path& created) {
    if (::link(existing.c_str(), created.c_str()) == 0)
        return HardLinkResult::Made;
    const int error = errno;
    const bool unsupported = error == EPERM || error == EOPNOTSUPP || error == ENOSYS ||
                             error == EXDEV || error == EMLINK;
    return unsupported ? HardLinkResult::NotSupportedHere : HardLinkResult::Failed;
}

std::FILE* OpenForBinaryRead(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "rb");
}

unsigned long CurrentProcessId() {
    return static_cast<unsigned long>(::getpid());
}

}  // namespace vantrel
