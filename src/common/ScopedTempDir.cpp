#include "common/ScopedTempDir.h"

#include <random>
#include <string>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

constexpr int kAttempts = 100;

std::string RandomSuffix(std::mt19937& random) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, 'X');
    for (char& letter : suffix)
        letter = kLetters[pick(random)];
    return suffix;
}

}  // namespace

// create_directory answers true only for a folder it made itself, so a name another process
// took meanwhile is never shared; the folder is then made private to its owner.
ScopedTempDir::ScopedTempDir() {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec)
        return;
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const fs::path candidate = base / ("vantrel-" + RandomSuffix(random));
        if (fs::create_directory(candidate, ec)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
            path_ = candidate;
            return;
        }
        if (ec && ec != std::errc::file_exists)
            return;
    }
}

ScopedTempDir::~ScopedTempDir() {
    if (!path_.empty()) {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
}

}  // namespace vantrel
