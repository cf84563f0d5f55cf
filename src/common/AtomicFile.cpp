#include "common/AtomicFile.h"
#include "common/Utf8Path.h"

#include <array>
#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

std::atomic<HardLinkCall> hardLinkCall{&MakeHardLink};

// A name in the target's folder that no other writer of this process or another one uses.
fs::path TemporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const std::string suffix = ".vantrel-tmp-" + std::to_string(CurrentProcessId()) + "-" +
                               std::to_string(counter.fetch_add(1));
    return target.parent_path() / PathFromUtf8(target.filename().string() + suffix);
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

bool CopyContents(SystemFile& from, SystemFile& to) {
    std::array<std::uint8_t, 1 << 16> buffer;
    for (;;) {
        const std::int64_t got = from.Read(buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!to.WriteAll(std::span(buffer).first(static_cast<std::size_t>(got))))
            return false;
    }
}

// Copies the bytes only: a new file gets the default attributes of a new file, never the
// source's, which FAT cannot hold and would refuse.
bool CopyInto(const fs::path& from, SystemFile& out) {
    SystemFile in(from, SystemFile::Mode::Read);
    return in.Valid() && CopyContents(in, out) && out.Sync() && out.Close();
}

bool CopyToNewTemporary(const fs::path& from, const fs::path& temporary) {
    SystemFile out(temporary, SystemFile::Mode::CreateOrTruncate);
    return out.Valid() && CopyInto(from, out);
}

// Places the finished temporary copy under the target's name without ever replacing a file
// there. Where hard links cannot be made, the target is created exclusively and filled; should
// that fail part way, the half-written target (ours alone) is removed again.
bool PlaceWithoutReplacing(const fs::path& temporary, const fs::path& target) {
    std::error_code ec;
    const HardLinkResult link = hardLinkCall.load()(temporary, target);
    if (link == HardLinkResult::Made) {
        fs::remove(temporary, ec);
        return true;
    }
    if (link != HardLinkResult::NotSupportedHere)
        return false;
    SystemFile out(target, SystemFile::Mode::CreateNew);
    if (!out.Valid())
        return false;
    if (!CopyInto(temporary, out)) {
        (void)out.Close();
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
