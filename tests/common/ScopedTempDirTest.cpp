#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "common/ScopedTempDir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(ScopedTempDir, EachFolderIsNewPrivateAndGoesWithEverythingInIt) {
    fs::path kept;
    {
        ScopedTempDir first;
        ScopedTempDir second;
        ASSERT_TRUE(first.Valid());
        ASSERT_TRUE(second.Valid());
        EXPECT_NE(first.Path(), second.Path());
        EXPECT_TRUE(fs::is_directory(first.Path()));
        EXPECT_TRUE(fs::is_empty(first.Path()));
        EXPECT_TRUE(fs::equivalent(first.Path().parent_path(), fs::temp_directory_path()));
#ifndef _WIN32
        // Other users cannot look into it (Windows folders keep the profile's own protection).
        EXPECT_EQ(fs::status(first.Path()).permissions() & fs::perms::all, fs::perms::owner_all);
#endif
        test::WriteBytes(first.Path() / "sub" / "a.mid", {1, 2, 3});
        kept = first.Path();
    }
    EXPECT_FALSE(fs::exists(kept));
}

}  // namespace
}  // namespace vantrel
