// The file-access steps on word-list files, their codes and messages.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <sys/stat.h>
#include <unistd.h>

#include "store/RecordFile.h"
#include "support/TestFiles.h"

namespace spellcheck::store {
namespace {

using spellcheck::testing::RecordBytes;
using spellcheck::testing::RunUnprivileged;
using spellcheck::testing::TempDir;
using spellcheck::testing::WriteBytes;

FileSystem& fs = FileSystem::Default();

std::int64_t CountOf(const std::string& path) {
  RecordFile file(fs);
  EXPECT_EQ(file.OpenExisting(path), code::Ok);
  std::int64_t n = -1;
  EXPECT_EQ(file.RecordCount(n), code::Ok);
  return n;
}

TEST(RecordFile, RecordCountIgnoresATrailingPiece) {
  TempDir dir;
  const struct {
    std::size_t bytes;
    std::int64_t records;
  } cases[] = {{0, 0}, {24, 0}, {25, 1}, {26, 1}, {49, 1}, {50, 2}};
  for (const auto& c : cases) {
    WriteBytes(dir.File("d"), std::string(c.bytes, 'x'));
    EXPECT_EQ(CountOf(dir.File("d")), c.records) << c.bytes << " bytes";
  }
}

TEST(RecordFile, ReadsAndWritesRecordsInOrder) {
  TempDir dir;
  RecordFile file(fs);
  ASSERT_EQ(file.Create(dir.File("d")), code::Ok);
  ASSERT_EQ(file.WriteRecord(TvarWord::FromWord("alpha")), code::Ok);
  ASSERT_EQ(file.WriteRecord(TvarWord::FromWord("beta")), code::Ok);
  ASSERT_EQ(file.Seek(1), code::Ok);
  TvarWord record;
  ASSERT_EQ(file.ReadRecord(record), code::Ok);
  EXPECT_EQ(record.Word(), "beta");
  EXPECT_EQ(file.ReadRecord(record), code::ReadBeyondEnd);
  ASSERT_EQ(file.ReadRecordAt(0, record), code::Ok);
  EXPECT_EQ(record.Word(), "alpha");
  std::vector<TvarWord> all;
  ASSERT_EQ(file.ReadAll(all), code::Ok);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].Word(), "beta");
  EXPECT_EQ(file.Close(), code::Ok);
}

TEST(RecordFile, ShortLastRecordIsReadBeyondEnd) {
  TempDir dir;
  WriteBytes(dir.File("d"), RecordBytes("one") + "abc");
  RecordFile file(fs);
  ASSERT_EQ(file.OpenExisting(dir.File("d")), code::Ok);
  TvarWord record;
  EXPECT_EQ(file.ReadRecord(record), code::Ok);
  EXPECT_EQ(file.ReadRecord(record), code::ReadBeyondEnd);
}

TEST(RecordFile, StepsOnAClosedFileFail) {
  RecordFile file(fs);
  std::int64_t n;
  TvarWord record;
  EXPECT_EQ(file.RecordCount(n), code::FileNotOpen);
  EXPECT_EQ(file.Seek(0), code::FileNotOpen);
  EXPECT_EQ(file.ReadRecord(record), code::FileNotOpen);
  EXPECT_EQ(file.Close(), code::FileNotOpen);
  EXPECT_EQ(file.WriteRecord(record), code::AccessDenied);
}

TEST(RecordFile, OpenExistingFailsWithoutCreating) {
  TempDir dir;
  RecordFile file(fs);
  EXPECT_EQ(file.OpenExisting(dir.File("missing")), code::FileNotFound);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(spellcheck::testing::FileExists(dir.File("missing")));
  EXPECT_NE(file.OpenExisting(dir.File("no-folder/missing")), code::Ok);
  EXPECT_EQ(file.OpenExisting(dir.Path()), code::AccessDenied) << "a folder is no dictionary";
}

TEST(RecordFile, NamesThatAddressNoFile) {
  RecordFile file(fs);
  EXPECT_EQ(file.OpenExisting(""), code::InvalidFilename);
  EXPECT_EQ(file.Create(""), code::InvalidFilename);
  EXPECT_EQ(file.Create(std::string(260, 'a')), code::InvalidFilename);
}

TEST(RecordFile, CreateInAMissingFolderIsInvalidFilename) {
  TempDir dir;
  RecordFile file(fs);
  const IoCode rc = file.Create(dir.File("missing/d.dic"));
  EXPECT_EQ(rc, code::InvalidFilename);
  try {
    Check(rc);
    FAIL() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 3);
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
}

TEST(RecordFile, ReadOnlyFileRefusesWritersButNotReaders) {
  TempDir dir;
  const std::string path = dir.File("ro.dic");
  WriteBytes(path, RecordBytes("word"));
  ::chmod(path.c_str(), 0444);
  const int status = RunUnprivileged([&] {
    RecordFile file(FileSystem::Default());
    if (file.OpenExisting(path, Access::ReadWrite) != code::AccessDenied) return 1;
    if (file.Create(path) != code::AccessDenied) return 2;
    if (file.OpenExisting(path, Access::Read) != code::Ok) return 3;
    return 0;
  });
  EXPECT_EQ(status, 0);
}

struct MessageCase {
  int code;
  const char* message;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
  *os << "code " << c.code;
}

class ErrorMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ErrorMessages, CodeChoosesTheMessage) {
  const EInOutError error(GetParam().code);
  EXPECT_EQ(error.ErrorCode, GetParam().code);
  EXPECT_STREQ(error.what(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorMessages,
    ::testing::Values(MessageCase{2, "File not found"}, MessageCase{3, "Invalid filename"},
                      MessageCase{4, "Too many open files"}, MessageCase{5, "File access denied"},
                      MessageCase{100, "Read beyond end of file"}, MessageCase{101, "Disk full"},
                      MessageCase{106, "Invalid numeric input"}, MessageCase{32, "I/O error 32"},
                      MessageCase{103, "I/O error 103"}, MessageCase{112, "I/O error 112"}));

TEST(Errors, OutOfMemoryMessage) {
  EXPECT_STREQ(EOutOfMemory().what(), "Out of memory");
  const Exception& base = EInOutError(5);
  EXPECT_STREQ(base.what(), "File access denied");
}

}  // namespace
}  // namespace spellcheck::store
