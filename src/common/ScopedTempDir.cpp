#include "common/ScopedTempDir.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace vantrel {

namespace fs = std::filesystem;

ScopedTempDir::ScopedTempDir() {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) return;
    std::string pattern = (base / "vantrel-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) != nullptr) {
        path_ = buffer.data();
    }
}

ScopedTempDir::~ScopedTempDir() {
    if (!path_.empty()) {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
}

}  // namespace vantrel
