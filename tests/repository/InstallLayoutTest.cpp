#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "repository/InstallLayout.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(InstallLayout, AProgramUnderAPrefixFindsItsGuideInShareDoc) {
    ScopedTempDir temp;
    ASSERT_TRUE(temp.Valid());
    const fs::path bin = temp.Path() / "usr" / "bin";
    fs::create_directories(bin);
    const fs::path guide = temp.Path() / "usr" / "share" / "doc" / "vantrel" / "user-guide.html";

    // Nothing installed yet: a build folder, whose guide belongs beside the program.
    EXPECT_FALSE(FindInstallLayout(bin).installed);
    EXPECT_EQ(FindInstallLayout(bin).userGuide, bin / "user-guide.html");

    test::WriteBytes(guide, {'<'});
    const InstallLayout installed = FindInstallLayout(bin);
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.userGuide, guide);

    // A guide beside the program wins: a build folder that happens to sit in such a tree.
    test::WriteBytes(bin / "user-guide.html", {'<'});
    EXPECT_FALSE(FindInstallLayout(bin).installed);
    EXPECT_EQ(FindInstallLayout(bin).userGuide, bin / "user-guide.html");
}

TEST(InstallLayout, AFolderNamedLikeTheGuideIsNoInstall) {
    ScopedTempDir temp;
    ASSERT_TRUE(temp.Valid());
    fs::create_directories(temp.Path() / "bin");
    fs::create_directories(temp.Path() / "share" / "doc" / "vantrel" / "user-guide.html");
    EXPECT_FALSE(FindInstallLayout(temp.Path() / "bin").installed);
}

}  // namespace
}  // namespace vantrel
