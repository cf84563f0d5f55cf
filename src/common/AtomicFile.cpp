#include "common/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

std::atomic<HardLinkCall> hardLinkCall{&::link};

// A name in the target's folder that no other writer of this process or another one uses.
fs::path TemporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const std::string suffix =
        ".vantrel-tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    return target.parent_path() / (target.filename().string() + suffix);
}

bool WriteAll(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    bool Valid() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // False when the system reports a late write error at close.
    bool Close() {
        if (fd_ < 0)
            return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

  private:
    int fd_;
};

bool WriteSpan(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyContents(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!WriteSpan(to, buffer, static_cast<std::size_t>(got)))
            return false;
    }
}

// Copies the bytes only: a new file gets the default mode of a new file, never the source's
// mode, which FAT cannot hold and would refuse.
bool CopyInto(const fs::path& from, FileDescriptor& out) {
    FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    return in.Valid() && CopyContents(in.Get(), out.Get()) && ::fsync(out.Get()) == 0 &&
           out.Close();
}

bool CopyToNewTemporary(const fs::path& from, const fs::path& temporary) {
    FileDescriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return out.Valid() && CopyInto(from, out);
}

// The file system cannot make a hard link here, as opposed to a target that already exists or
// a folder that refuses any new name.
bool NoHardLinksHere(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EXDEV ||
           error == EMLINK;
}

// Places the finished temporary copy under the target's name without ever replacing a file
// there. Where hard links cannot be made, the target is created exclusively and filled; should
// that fail part way, the half-written target (ours alone) is removed again.
bool PlaceWithoutReplacing(const fs::path& temporary, const fs::path& target) {
    std::error_code ec;
    if (hardLinkCall.load()(temporary.c_str(), target.c_str()) == 0) {
        fs::remove(temporary, ec);
        return true;
    }
    if (!NoHardLinksHere(errno))
        return false;
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!out.Valid())
        return false;
    if (!CopyInto(temporary, out)) {
        out.Close();
        fs::remove(target, ec);
        return false;
    }
    fs::remove(temporary, ec);
    return true;
}

}  // namespace

HardLinkCall SetHardLinkCall(HardLinkCall call) {
    return hardLinkCall.exchange(call);
}

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path temporary = TemporarySibling(path);
    std::error_code ec;
    if (WriteAll(temporary, bytes)) {
        fs::rename(temporary, path, ec);
        if (!ec)
            return true;
    }
    fs::remove(temporary, ec);
    return false;
}

bool CopyFileAtomically(const fs::path& from, const fs::path& to, bool replace) {
    std::error_code ec;
    if (!replace && fs::exists(to, ec))
        return false;
    const fs::path temporary = TemporarySibling(to);
    bool placed = false;
    if (CopyToNewTemporary(from, temporary)) {
        if (replace) {
            fs::rename(temporary, to, ec);
            placed = !ec;
        } else {
            placed = PlaceWithoutReplacing(temporary, to);
        }
    }
    if (!placed)
        fs::remove(temporary, ec);
    return placed;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path,
                                                       std::uintmax_t maxSize) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < 0 || static_cast<std::uintmax_t>(end) > maxSize)
        return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end));
    if (!bytes.empty()) {
        in.read(reinterpret_cast<char*>(bytes.data()), end);
        if (in.gcount() != end)
            return std::nullopt;
    }
    return bytes;
}

}  // namespace vantrel
