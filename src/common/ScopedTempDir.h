#pragma once

#include <filesystem>

namespace vantrel {

// A private folder under the system's temporary folder, created on construction and removed
// with everything in it on destruction. Conversions that only check or consume their products
// write them here, so no user file beside an input is ever touched.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    // Empty when the folder could not be created.
    const std::filesystem::path& Path() const { return path_; }
    bool Valid() const { return !path_.empty(); }

private:
    std::filesystem::path path_;
};

}  // namespace vantrel
