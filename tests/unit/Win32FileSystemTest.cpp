// The Windows file-access layer: the system's error numbers as they are,
// sharing between openers, the read-only attribute, Windows names, and
// replacing a file that another handle holds.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "store/FileSystem.h"
#include "store/Win32Errors.h"
#include "support/TestFiles.h"

namespace spellcheck::store {
namespace {

using spellcheck::testing::FileExists;
using spellcheck::testing::ReadBytes;
using spellcheck::testing::TempDir;
using spellcheck::testing::WriteBytes;

// A handle of the test's own, as another program would hold it.
class HeldFile {
 public:
  HeldFile(const std::string& name, DWORD share)
      : handle_(::CreateFileA(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  std::string ReadFromStart() {
    ::SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    char buffer[256];
    DWORD got = 0;
    if (!::ReadFile(handle_, buffer, sizeof buffer, &got, nullptr)) return "<read failed>";
    return std::string(buffer, got);
  }

 private:
  HANDLE handle_;
};

constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

void MakeReadOnly(const std::string& name) {
  ASSERT_TRUE(::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  FileSystem& fs_ = FileSystem::Default();
  TempDir dir_;

  std::string Name(const std::string& leaf) const { return dir_.File(leaf); }
  std::string BackslashName(const std::string& leaf) const { return dir_.Path() + "\\" + leaf; }

  IoCode Open(const std::string& name, Access access, Disposition disposition,
              std::unique_ptr<File>& file) {
    return fs_.Open(name, access, disposition, file);
  }
};

struct Win32Case {
  unsigned long error;
  int code;
};

class Win32ErrorMapping : public ::testing::TestWithParam<Win32Case> {};

TEST_P(Win32ErrorMapping, KeepsTheNumberUnlessItWouldMisread) {
  const IoCode rc = CodeForWin32Error(GetParam().error);
  EXPECT_EQ(rc.Code(), GetParam().code);
  EXPECT_EQ(rc.SystemError(), static_cast<int>(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(
    Win32FileSystem, Win32ErrorMapping,
    ::testing::Values(Win32Case{ERROR_SUCCESS, ERROR_GEN_FAILURE}, Win32Case{2, 2}, Win32Case{3, 3},
                      Win32Case{4, 4}, Win32Case{5, 5}, Win32Case{32, 32}, Win32Case{80, 80},
                      Win32Case{ERROR_HANDLE_DISK_FULL, 112}, Win32Case{112, 112},
                      Win32Case{1117, 1117},
                      // Semaphore numbers that would read as the layer's own codes.
                      Win32Case{100, code::UnmappedSystemError | 100},
                      Win32Case{103, code::UnmappedSystemError | 103},
                      Win32Case{106, code::UnmappedSystemError | 106}));

TEST_F(Win32FileSystemTest, FailedOpensCarryTheSystemsErrorNumbers) {
  WriteBytes(Name("plain.dic"), "");
  WriteBytes(Name("ro.dic"), "");
  MakeReadOnly(Name("ro.dic"));
  ASSERT_TRUE(::CreateDirectoryA(Name("folder").c_str(), nullptr));

  struct Case {
    const char* what;
    std::string name;
    Access access;
    Disposition disposition;
    IoCode expected;
  };
  const Case cases[] = {
      {"missing file", Name("none.dic"), Access::ReadWrite, Disposition::OpenExisting, 2},
      {"missing folder", Name("none\\x.dic"), Access::ReadWrite, Disposition::OpenExisting, 3},
      {"create in missing folder", Name("none\\x.dic"), Access::ReadWrite,
       Disposition::CreateAlways, 3},
      {"a folder", Name("folder"), Access::ReadWrite, Disposition::OpenExisting, 5},
      {"read-only file for writing", Name("ro.dic"), Access::ReadWrite, Disposition::OpenExisting,
       5},
      {"read-only file truncated", Name("ro.dic"), Access::ReadWrite, Disposition::CreateAlways, 5},
      {"exclusive create of an existing file", Name("plain.dic"), Access::ReadWrite,
       Disposition::CreateNew, code::AlreadyExists},
  };
  for (const Case& c : cases) {
    std::unique_ptr<File> file;
    EXPECT_EQ(Open(c.name, c.access, c.disposition, file), c.expected) << c.what;
    EXPECT_EQ(file, nullptr) << c.what;
  }
  std::unique_ptr<File> file;
  EXPECT_EQ(Open(Name("ro.dic"), Access::Read, Disposition::OpenExisting, file), code::Ok)
      << "a read-only file opens for reading";
}

TEST_F(Win32FileSystemTest, FileHeldWithoutSharingGivesSharingViolation32) {
  const std::string name = Name("locked.dic");
  const HANDLE exclusive = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  std::unique_ptr<File> file;
  EXPECT_EQ(Open(name, Access::Read, Disposition::OpenExisting, file), code::SharingViolation);

  // Through the checker, the create step's failure reaches the host as is.
  std::unique_ptr<TSpellerCheck> checker(CreateSpellerCheck());
  try {
    checker->AddWord("word", name.c_str());
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 32);
    EXPECT_STREQ(error.what(), "I/O error 32");
  }
  ::CloseHandle(exclusive);
}

TEST_F(Win32FileSystemTest, BackslashForwardSlashAndDriveLetterNamesReachOneFile) {
  WriteBytes(Name("words.dic"), "abc");
  char full[MAX_PATH];
  ASSERT_NE(::GetFullPathNameA(BackslashName("words.dic").c_str(), MAX_PATH, full, nullptr), 0u);
  ASSERT_EQ(full[1], ':') << full;

  FileInfo slash, backslash, drive;
  ASSERT_EQ(fs_.Info(Name("words.dic"), slash), code::Ok);
  ASSERT_EQ(fs_.Info(BackslashName("words.dic"), backslash), code::Ok);
  ASSERT_EQ(fs_.Info(full, drive), code::Ok);
  EXPECT_TRUE(slash.SameFile(backslash));
  EXPECT_TRUE(slash.SameFile(drive));
  EXPECT_EQ(drive.size, 3u);

  std::unique_ptr<File> file;
  ASSERT_EQ(Open(full, Access::Read, Disposition::OpenExisting, file), code::Ok);
  char buffer[3];
  std::size_t got = 0;
  EXPECT_EQ(file->Read(buffer, sizeof buffer, got), code::Ok);
  EXPECT_EQ(std::string(buffer, got), "abc");
}

TEST_F(Win32FileSystemTest, PositionedReadLeavesThePositionAndReadsNothingPastTheEnd) {
  WriteBytes(Name("data.dic"), "0123456789");
  std::unique_ptr<File> file;
  ASSERT_EQ(Open(Name("data.dic"), Access::Read, Disposition::OpenExisting, file), code::Ok);
  ASSERT_EQ(file->Seek(6), code::Ok);
  char buffer[4];
  std::size_t got = 0;
  ASSERT_EQ(file->ReadAt(1, buffer, 3, got), code::Ok);
  EXPECT_EQ(std::string(buffer, got), "123");
  ASSERT_EQ(file->Read(buffer, 4, got), code::Ok);
  EXPECT_EQ(std::string(buffer, got), "6789");

  EXPECT_EQ(file->ReadAt(10, buffer, 4, got), code::Ok) << "at the end";
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(file->ReadAt(500, buffer, 4, got), code::Ok) << "beyond the end";
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(file->Read(buffer, 4, got), code::Ok);
  EXPECT_EQ(got, 0u);
}

TEST_F(Win32FileSystemTest, WritersLockKeepsWritersApartButNotReaders) {
  WriteBytes(Name("shared.dic"), "contents");
  std::unique_ptr<File> writer;
  ASSERT_EQ(Open(Name("shared.dic"), Access::ReadWrite, Disposition::OpenExisting, writer),
            code::Ok);
  ASSERT_EQ(writer->Lock(), code::Ok);

  // Another handle reads and writes the data while the lock is held.
  std::unique_ptr<File> other;
  ASSERT_EQ(Open(Name("shared.dic"), Access::ReadWrite, Disposition::OpenExisting, other),
            code::Ok);
  char buffer[8];
  std::size_t got = 0;
  EXPECT_EQ(other->ReadAt(0, buffer, 8, got), code::Ok);
  EXPECT_EQ(std::string(buffer, got), "contents");
  std::size_t put = 0;
  EXPECT_EQ(other->Write("C", 1, put), code::Ok);
  EXPECT_EQ(put, 1u);

  // A second writer gets the lock only after the first has closed its file.
  std::mutex mutex;
  std::condition_variable changed;
  bool firstClosed = false;
  bool secondLockedAfterClose = false;
  std::thread second([&] {
    if (other->Lock() != code::Ok) return;
    std::lock_guard<std::mutex> guard(mutex);
    secondLockedAfterClose = firstClosed;
  });
  {
    std::lock_guard<std::mutex> guard(mutex);
    firstClosed = true;
  }
  EXPECT_EQ(writer->Close(), code::Ok);
  second.join();
  EXPECT_TRUE(secondLockedAfterClose);
}

TEST_F(Win32FileSystemTest, RenameReplacesAFileThatNobodyHolds) {
  WriteBytes(Name("new.tmp"), "new");
  WriteBytes(Name("target.dic"), "old contents");
  ASSERT_EQ(fs_.Rename(Name("new.tmp"), Name("target.dic")), code::Ok);
  EXPECT_EQ(ReadBytes(Name("target.dic")), "new");
  EXPECT_FALSE(FileExists(Name("new.tmp")));
}

TEST_F(Win32FileSystemTest, RenameOverAHeldFileRewritesItInPlace) {
  for (const DWORD share : {ShareReadWrite, ShareReadWrite | FILE_SHARE_DELETE}) {
    WriteBytes(Name("new.tmp"), "new");
    WriteBytes(Name("target.dic"), "old contents");
    FileInfo before;
    ASSERT_EQ(fs_.Info(Name("target.dic"), before), code::Ok);
    HeldFile held(Name("target.dic"), share);
    ASSERT_TRUE(held.IsOpen());

    ASSERT_EQ(fs_.Rename(Name("new.tmp"), Name("target.dic")), code::Ok) << "share " << share;
    EXPECT_EQ(ReadBytes(Name("target.dic")), "new");
    EXPECT_EQ(held.ReadFromStart(), "new") << "the holder sees the new contents";
    EXPECT_FALSE(FileExists(Name("new.tmp")));
    FileInfo after;
    ASSERT_EQ(fs_.Info(Name("target.dic"), after), code::Ok);
    EXPECT_TRUE(after.SameFile(before));
  }
}

TEST_F(Win32FileSystemTest, RenameOntoAReadOnlyFileIsDeniedAndChangesNothing) {
  WriteBytes(Name("new.tmp"), "new");
  WriteBytes(Name("target.dic"), "old");
  MakeReadOnly(Name("target.dic"));
  HeldFile held(Name("target.dic"), ShareReadWrite);
  EXPECT_EQ(fs_.Rename(Name("new.tmp"), Name("target.dic")), code::AccessDenied);
  EXPECT_EQ(ReadBytes(Name("target.dic")), "old");
  EXPECT_TRUE(FileExists(Name("new.tmp")));
}

TEST_F(Win32FileSystemTest, RenameWithoutReplacingLeavesAnExistingName) {
  WriteBytes(Name("new.tmp"), "new");
  WriteBytes(Name("taken.dic"), "old");
  EXPECT_EQ(fs_.RenameNoReplace(Name("new.tmp"), Name("taken.dic")), code::AlreadyExists);
  EXPECT_EQ(ReadBytes(Name("taken.dic")), "old");
  EXPECT_EQ(ReadBytes(Name("new.tmp")), "new");

  ASSERT_EQ(fs_.RenameNoReplace(Name("new.tmp"), Name("free.dic")), code::Ok);
  EXPECT_EQ(ReadBytes(Name("free.dic")), "new");
}

TEST_F(Win32FileSystemTest, ModeWithoutWriteBitsIsTheReadOnlyAttribute) {
  std::unique_ptr<File> file;
  ASSERT_EQ(Open(Name("mode.dic"), Access::ReadWrite, Disposition::CreateNew, file), code::Ok);
  FileInfo info;
  ASSERT_EQ(file->Info(info), code::Ok);
  EXPECT_EQ(info.mode, 0666u);

  ASSERT_EQ(file->SetMode(0444), code::Ok);
  EXPECT_TRUE(::GetFileAttributesA(Name("mode.dic").c_str()) & FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(file->Info(info), code::Ok);
  EXPECT_EQ(info.mode, 0444u);

  ASSERT_EQ(file->SetMode(0644), code::Ok);
  EXPECT_FALSE(::GetFileAttributesA(Name("mode.dic").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(Win32FileSystemTest, StepsOnAClosedFileFail) {
  std::unique_ptr<File> file;
  ASSERT_EQ(Open(Name("closed.dic"), Access::ReadWrite, Disposition::CreateAlways, file), code::Ok);
  ASSERT_EQ(file->Close(), code::Ok);
  std::uint64_t size = 0;
  char byte = 'x';
  std::size_t moved = 0;
  EXPECT_EQ(file->Size(size), code::FileNotOpen);
  EXPECT_EQ(file->Seek(0), code::FileNotOpen);
  EXPECT_EQ(file->Read(&byte, 1, moved), code::FileNotOpen);
  EXPECT_EQ(file->Write(&byte, 1, moved), code::AccessDenied);
  EXPECT_EQ(file->Close(), code::FileNotOpen);
}

}  // namespace
}  // namespace spellcheck::store
