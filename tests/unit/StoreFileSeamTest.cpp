// The steps of the platform's file-access layer that the store's rewrites
// build on, the same on every platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "store/FileSystem.h"
#include "support/TestFiles.h"

namespace spellcheck::store {
namespace {

using spellcheck::testing::ReadBytes;
using spellcheck::testing::TempDir;
using spellcheck::testing::WriteBytes;

class StoreFileSeam : public ::testing::Test {
 protected:
  FileSystem& fs_ = FileSystem::Default();
  TempDir dir_;

  std::unique_ptr<File> OpenWritable(const std::string& name) {
    std::unique_ptr<File> file;
    EXPECT_EQ(fs_.Open(name, Access::ReadWrite, Disposition::OpenExisting, file), code::Ok);
    return file;
  }
};

TEST_F(StoreFileSeam, PositionedStepsLeaveThePositionAndTruncateCuts) {
  const std::string name = dir_.File("f");
  WriteBytes(name, "abcdefgh");
  auto file = OpenWritable(name);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->Seek(2), code::Ok);
  std::size_t put = 0;
  ASSERT_EQ(file->WriteAt(5, "XY", 2, put), code::Ok);
  EXPECT_EQ(put, 2u);
  char buffer[2] = {};
  std::size_t got = 0;
  ASSERT_EQ(file->Read(buffer, 2, got), code::Ok);
  EXPECT_EQ(std::string(buffer, got), "cd") << "the position stayed at 2";
  ASSERT_EQ(file->Truncate(6), code::Ok);
  std::uint64_t size = 0;
  ASSERT_EQ(file->Size(size), code::Ok);
  EXPECT_EQ(size, 6u);
  ASSERT_EQ(file->Close(), code::Ok);
  EXPECT_EQ(ReadBytes(name), "abcdeX");
}

TEST_F(StoreFileSeam, ReserveKeepsLengthAndContents) {
  const std::string name = dir_.File("f");
  WriteBytes(name, "abc");
  auto file = OpenWritable(name);
  ASSERT_TRUE(file);
  const IoCode rc = file->Reserve(1 << 20);
  EXPECT_TRUE(rc == code::Ok || rc == code::NotSupported) << rc.Code();
  ASSERT_EQ(file->Close(), code::Ok);
  EXPECT_EQ(ReadBytes(name), "abc");
}

TEST_F(StoreFileSeam, TryLockFailsWhileAnotherOpenerHoldsTheLock) {
  const std::string name = dir_.File("f");
  WriteBytes(name, "abc");
  auto holder = OpenWritable(name);
  auto other = OpenWritable(name);
  ASSERT_TRUE(holder && other);
  ASSERT_EQ(holder->Lock(), code::Ok);
  bool taken = true;
  ASSERT_EQ(other->TryLock(taken), code::Ok);
  EXPECT_FALSE(taken);
  ASSERT_EQ(holder->Close(), code::Ok);
  ASSERT_EQ(other->TryLock(taken), code::Ok);
  EXPECT_TRUE(taken);
}

TEST_F(StoreFileSeam, OnlyAnUnnamedFileTakesANameByLink) {
  const std::string name = dir_.File("f");
  WriteBytes(name, "abc");
  auto file = OpenWritable(name);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Link(dir_.File("g")), code::NotSupported);
}

TEST_F(StoreFileSeam, ListNamesTheFolder) {
  WriteBytes(dir_.File("a"), "");
  WriteBytes(dir_.File(".b"), "");
  std::vector<std::string> names;
  ASSERT_EQ(fs_.List(dir_.Path(), names), code::Ok);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".b", "a"}));
  EXPECT_NE(fs_.List(dir_.File("missing"), names), code::Ok);
}

TEST_F(StoreFileSeam, InfoCountsTheNamesOfAFile) {
  const std::string name = dir_.File("f");
  WriteBytes(name, "abc");
  FileInfo info;
  ASSERT_EQ(fs_.Info(name, info), code::Ok);
  EXPECT_EQ(info.links, 1u);
}

}  // namespace
}  // namespace spellcheck::store
