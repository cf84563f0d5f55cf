#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "repository/CRepository.h"
#include "repository/ModuleDirectory.h"
#include "repository/RepositoryRoot.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class RepositoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.Valid());
        root_ = temp_.Path() / "Repository";
        CRepository::SetRoot(root_);
    }

    std::vector<std::string> Sorted(SubRepository sub) {
        auto names = CRepository::List(sub);
        std::sort(names.begin(), names.end());
        return names;
    }

    ScopedTempDir temp_;
    fs::path root_;
};

TEST_F(RepositoryTest, CreateFoldersMakesTheRootAndThreeFoldersAndKeepsWhatIsThere) {
    CRepository::CreateFolders();
    for (const char* name : {"Intro", "Fill", "Ending"}) {
        EXPECT_TRUE(fs::is_directory(root_ / name)) << name;
    }
    test::WriteBytes(root_ / "Fill" / "a.mid", {1, 2, 3});
    CRepository::CreateFolders();
    EXPECT_EQ(test::ReadBytes(root_ / "Fill" / "a.mid"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(CRepository::Folder(SubRepository::Ending), root_ / "Ending");
}

TEST_F(RepositoryTest, EntriesArePlainMidFilesInAnyLetterCase) {
    CRepository::CreateFolders();
    test::WriteBytes(root_ / "Fill" / "Song.MID", {0});
    test::WriteBytes(root_ / "Fill" / "b.mid", {0});
    test::WriteBytes(root_ / "Fill" / "notes.txt", {0});
    test::WriteBytes(root_ / "Fill" / "b.mid.bak", {0});
    fs::create_directory(root_ / "Fill" / "x.mid");
    test::WriteBytes(root_ / "loose.mid", {0});
    EXPECT_EQ(Sorted(SubRepository::Fill), (std::vector<std::string>{"Song.MID", "b.mid"}));
    EXPECT_TRUE(CRepository::List(SubRepository::Intro).empty());
}

TEST_F(RepositoryTest, AMissingFolderListsEmpty) {
    EXPECT_TRUE(CRepository::List(SubRepository::Ending).empty());
}

TEST_F(RepositoryTest, CopyNeverReplacesAndGoesOnWithTheOtherNames) {
    CRepository::CreateFolders();
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
        test::WriteBytes(root_ / "Intro" / name, {1});
    }
    test::WriteBytes(root_ / "Fill" / "b.mid", {2});
    EXPECT_TRUE(
        CRepository::CopyTo(SubRepository::Intro, SubRepository::Fill, {"a.mid", "b.mid", "c.mid"})
            .empty());
    EXPECT_EQ(test::ReadBytes(root_ / "Fill" / "a.mid"), std::vector<std::uint8_t>{1});
    EXPECT_EQ(test::ReadBytes(root_ / "Fill" / "b.mid"), std::vector<std::uint8_t>{2});
    EXPECT_EQ(test::ReadBytes(root_ / "Fill" / "c.mid"), std::vector<std::uint8_t>{1});
    EXPECT_EQ(Sorted(SubRepository::Fill), (std::vector<std::string>{"a.mid", "b.mid", "c.mid"}));
}

TEST_F(RepositoryTest, CopyAnswersTheEntriesItCouldNotPlace) {
    CRepository::CreateFolders();
    test::WriteBytes(root_ / "Intro" / "a.mid", {1});
    fs::remove(root_ / "Ending");
    test::WriteBytes(root_ / "Ending", {0});  // a file where the folder should be
    EXPECT_EQ(CRepository::CopyTo(SubRepository::Intro, SubRepository::Ending, {"a.mid"}),
              std::vector<std::string>{"a.mid"});
    EXPECT_EQ(test::ReadBytes(root_ / "Ending"), std::vector<std::uint8_t>{0});
}

TEST_F(RepositoryTest, RemoveAllDeletesOnlyEntriesOfItsFolder) {
    CRepository::CreateFolders();
    test::WriteBytes(root_ / "Ending" / "a.mid", {0});
    test::WriteBytes(root_ / "Ending" / "B.Mid", {0});
    test::WriteBytes(root_ / "Ending" / "keep.txt", {0});
    fs::create_directory(root_ / "Ending" / "folder.mid");
    test::WriteBytes(root_ / "Intro" / "a.mid", {0});
    test::WriteBytes(root_ / "Total.mix", {0});
    CRepository::RemoveAll(SubRepository::Ending);
    EXPECT_TRUE(CRepository::List(SubRepository::Ending).empty());
    EXPECT_TRUE(fs::exists(root_ / "Ending" / "keep.txt"));
    EXPECT_TRUE(fs::is_directory(root_ / "Ending" / "folder.mid"));
    EXPECT_TRUE(fs::exists(root_ / "Intro" / "a.mid"));
    EXPECT_TRUE(fs::exists(root_ / "Total.mix"));
}

TEST_F(RepositoryTest, NamesThatReachOutsideTheirFolderAreIgnored) {
    CRepository::CreateFolders();
    test::WriteBytes(root_ / "outside.mid", {7});
    test::WriteBytes(root_ / "Intro" / "in.mid", {7});
    CRepository::Remove(SubRepository::Fill, {"../outside.mid", "../Intro/in.mid", ".."});
    CRepository::CopyTo(SubRepository::Fill, SubRepository::Ending, {"../outside.mid"});
    EXPECT_TRUE(fs::exists(root_ / "outside.mid"));
    EXPECT_TRUE(fs::exists(root_ / "Intro" / "in.mid"));
    EXPECT_TRUE(CRepository::List(SubRepository::Ending).empty());
}

TEST_F(RepositoryTest, RemoveDeletesTheNamedEntriesOnly) {
    CRepository::CreateFolders();
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
        test::WriteBytes(root_ / "Fill" / name, {0});
    }
    CRepository::Remove(SubRepository::Fill, {"c.mid", "missing.mid", "a.mid"});
    EXPECT_EQ(Sorted(SubRepository::Fill), std::vector<std::string>{"b.mid"});
}

#ifndef _WIN32
// The rule with the XDG folders of Linux; Windows paths without a drive are never absolute.
TEST(RepositoryRoot, LiesBesideAWritableProgramElseInTheUsersDataFolder) {
    const auto beside = ChooseRepositoryRoot("/opt/v/bin", true, "/x/data", "/home/u");
    EXPECT_EQ(beside.root, fs::path("/opt/v/bin/Repository"));
    EXPECT_TRUE(beside.besideProgram);
    const auto xdg = ChooseRepositoryRoot("/usr/bin", false, "/x/data", "/home/u");
    EXPECT_EQ(xdg.root, fs::path("/x/data/vantrel/Repository"));
    EXPECT_FALSE(xdg.besideProgram);
    // A relative XDG_DATA_HOME is invalid and ignored.
    const auto home = ChooseRepositoryRoot("/usr/bin", false, "rel", "/home/u");
    EXPECT_EQ(home.root, fs::path("/home/u/.local/share/vantrel/Repository"));
}
#else
TEST(RepositoryRoot, TheUsersOwnRepositoryLiesInLocalAppData) {
    const wchar_t* localAppData = _wgetenv(L"LOCALAPPDATA");
    ASSERT_NE(localAppData, nullptr);
    EXPECT_EQ(UserDataRepositoryRoot(), fs::path(localAppData) / "Vantrel" / "Repository");
    EXPECT_TRUE(FolderWritable(fs::temp_directory_path()));
    EXPECT_FALSE(FolderWritable(fs::temp_directory_path() / "no such folder"));
}
#endif

TEST(ModuleDirectory, IsTheFolderOfThisProgramAndStaysTheSame) {
    const fs::path& folder = ModuleDirectory();
#ifdef _WIN32
    EXPECT_TRUE(fs::exists(folder / "test_repository.exe"));
#else
    EXPECT_TRUE(fs::exists(folder / "test_repository"));
#endif
    EXPECT_EQ(&folder, &ModuleDirectory());
}

}  // namespace
}  // namespace vantrel
