#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "common/AtomicFile.h"
#include "common/ScopedTempDir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

HardLinkResult LinkNotSupported(const fs::path&, const fs::path&) {
    return HardLinkResult::NotSupportedHere;
}

HardLinkResult LinkRefused(const fs::path&, const fs::path&) {
    return HardLinkResult::Failed;
}

// Another writer creates the target between the check for it and the placing of the copy.
fs::path racedTarget;
HardLinkResult TargetAppearsThenLinkNotSupported(const fs::path&, const fs::path&) {
    std::ofstream(racedTarget, std::ios::binary) << "theirs";
    return HardLinkResult::NotSupportedHere;
}

// A folder as a FAT file system leaves it: no hard links, so no file but the target remains.
class AtomicCopyWithoutHardLinks : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.Valid());
        source_ = temp_.Path() / "in" / "a.mid";
        test::WriteBytes(source_, bytes_);
        fs::create_directories(temp_.Path() / "out");
        target_ = temp_.Path() / "out" / "a.mid";
        previous_ = SetHardLinkCall(&LinkNotSupported);
    }
    void TearDown() override { SetHardLinkCall(previous_); }

    std::vector<fs::path> FilesInTargetFolder() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(target_.parent_path())) {
            files.push_back(entry.path().filename());
        }
        return files;
    }

    ScopedTempDir temp_;
    std::vector<std::uint8_t> bytes_ = test::Hex("4D 54 68 64 00 00 00 06 00 01 00 02 00 C0");
    fs::path source_;
    fs::path target_;
    HardLinkCall previous_ = nullptr;
};

TEST_F(AtomicCopyWithoutHardLinks, PlacesTheWholeCopyAndNoTemporary) {
    EXPECT_TRUE(CopyFileAtomically(source_, target_, false));
    EXPECT_EQ(test::ReadBytes(target_), bytes_);
    EXPECT_EQ(FilesInTargetFolder(), std::vector<fs::path>{"a.mid"});
}

TEST_F(AtomicCopyWithoutHardLinks, NeverReplacesAFileThatIsThereOrAppearsMeanwhile) {
    test::WriteBytes(target_, {1, 2});
    EXPECT_FALSE(CopyFileAtomically(source_, target_, false));
    EXPECT_EQ(test::ReadBytes(target_), (std::vector<std::uint8_t>{1, 2}));

    fs::remove(target_);
    racedTarget = target_;
    SetHardLinkCall(&TargetAppearsThenLinkNotSupported);
    EXPECT_FALSE(CopyFileAtomically(source_, target_, false));
    EXPECT_EQ(test::ReadBytes(target_), (std::vector<std::uint8_t>{'t', 'h', 'e', 'i', 'r', 's'}));
    EXPECT_EQ(FilesInTargetFolder(), std::vector<fs::path>{"a.mid"});
}

TEST_F(AtomicCopyWithoutHardLinks, AFolderThatRefusesNewNamesFailsAndLeavesNothing) {
    SetHardLinkCall(&LinkRefused);
    EXPECT_FALSE(CopyFileAtomically(source_, target_, false));
    EXPECT_TRUE(FilesInTargetFolder().empty());
}

TEST_F(AtomicCopyWithoutHardLinks, ReplacingAndWritingNeedNoHardLinks) {
    test::WriteBytes(target_, {1, 2});
    EXPECT_TRUE(CopyFileAtomically(source_, target_, true));
    EXPECT_EQ(test::ReadBytes(target_), bytes_);
    EXPECT_TRUE(WriteFileAtomically(target_, std::vector<std::uint8_t>{9}));
    EXPECT_EQ(test::ReadBytes(target_), std::vector<std::uint8_t>{9});
    EXPECT_EQ(FilesInTargetFolder(), std::vector<fs::path>{"a.mid"});
}

TEST(AtomicCopy, AMissingSourceFailsAndLeavesNothing) {
    ScopedTempDir temp;
    ASSERT_TRUE(temp.Valid());
    EXPECT_FALSE(CopyFileAtomically(temp.Path() / "none.mid", temp.Path() / "b.mid", false));
    EXPECT_TRUE(fs::is_empty(temp.Path()));
}

}  // namespace
}  // namespace vantrel
