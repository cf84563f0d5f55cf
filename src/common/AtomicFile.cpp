#include "common/AtomicFile.h"

#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// A name in the target's folder that no other writer of this process or another one uses.
fs::path TemporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const std::string suffix = ".vantrel-tmp-" + std::to_string(::getpid()) + "-" +
                               std::to_string(counter.fetch_add(1));
    return target.parent_path() / (target.filename().string() + suffix);
}

bool WriteAll(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool PlaceTemporary(const fs::path& temporary, const fs::path& target, bool replace) {
    std::error_code ec;
    if (replace) {
        fs::rename(temporary, target, ec);
    } else {
        // A hard link fails when the target exists, atomically; then the temporary name goes.
        fs::create_hard_link(temporary, target, ec);
        if (!ec) fs::remove(temporary, ec);
        ec.clear();
        if (!fs::exists(target)) return false;
        return !fs::exists(temporary);
    }
    return !ec;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path temporary = TemporarySibling(path);
    std::error_code ec;
    if (!WriteAll(temporary, bytes) || !PlaceTemporary(temporary, path, true)) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool CopyFileAtomically(const fs::path& from, const fs::path& to, bool replace) {
    std::error_code ec;
    if (!replace && fs::exists(to, ec)) return false;
    const fs::path temporary = TemporarySibling(to);
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(temporary, ec);
        return false;
    }
    if (!PlaceTemporary(temporary, to, replace)) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path,
                                                       std::uintmax_t maxSize) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < 0 || static_cast<std::uintmax_t>(end) > maxSize) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end));
    if (!bytes.empty()) {
        in.read(reinterpret_cast<char*>(bytes.data()), end);
        if (in.gcount() != end) return std::nullopt;
    }
    return bytes;
}

}  // namespace vantrel
