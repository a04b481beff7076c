// The store where the system gets in its way: a disk that fills during an
// in-place rewrite, links planted by other users, link loops, reads and
// writes that move less than asked for, access lists and extended
// attributes, copies left by killed writers, and files the caller may not
// change. (POSIX files, users and limits.)
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "store/WordList.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Words = std::vector<std::string>;

constexpr uid_t Nobody = 65534;

bool IsRoot() {
  return ::geteuid() == 0;
}

// A folder that an unprivileged writer may not add files to, holding a
// dictionary that it may write: changes go in place.
struct ClosedFolder {
  std::string path;
  std::string dic;
  ClosedFolder(const std::string& folder, const Words& words)
      : path(folder), dic(folder + "/d.dic") {
    WriteDictionary(dic, words);
    ::chmod(dic.c_str(), 0666);
    ::chmod(path.c_str(), 0555);
  }
};

// A tmpfs of a few pages, mounted for the test and taken away after it.
class SmallTmpfs {
 public:
  SmallTmpfs(const std::string& where, const char* size) : path_(where) {
    ::mkdir(path_.c_str(), 0755);
    const std::string options = std::string("size=") + size + ",mode=0755";
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;
  bool Mounted() const { return mounted_; }

  // Takes every free byte, so that the next block anyone asks for is refused.
  void Fill() const {
    const std::string filler = path_ + "/filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT, 0600);
    static const char block[512] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
    while (::write(fd, block, 1) > 0) {
    }
    ::close(fd);
  }

 private:
  std::string path_;
  bool mounted_ = false;
};

enum class Fill { Tmpfs, FileSizeLimit };

struct FullDiskCase {
  const char* name;
  Fill fill;
  bool merge;  // 500 words merged in, or one word added
};

void PrintTo(const FullDiskCase& scenario, std::ostream* out) {
  *out << scenario.name;
}

class StoreFullDiskInPlace : public ::testing::TestWithParam<FullDiskCase> {};

// 491 records end 13 bytes short of the third page: one more record needs
// room that the disk no longer has.
constexpr int PageFullOfRecords = 491;

TEST_P(StoreFullDiskInPlace, RaisesAndKeepsEveryWord) {
  const FullDiskCase& scenario = GetParam();
  TempDir dir;
  const std::string folder = dir.File("closed");
  std::optional<SmallTmpfs> tmpfs;
  if (scenario.fill == Fill::Tmpfs) {
    if (!IsRoot()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    tmpfs.emplace(folder, "64k");
    if (!tmpfs->Mounted()) GTEST_SKIP() << "tmpfs cannot be mounted here";
  } else {
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  }
  const ClosedFolder closed(folder, NumberedWords(PageFullOfRecords, "t"));
  const std::string source = dir.File("source.dic");
  WriteDictionary(source, NumberedWords(500, "s"));
  ::chmod(source.c_str(), 0666);
  if (tmpfs) tmpfs->Fill();
  const std::string before = ReadBytes(closed.dic);

  const int raised = ResultOfUnprivileged([&] {
    if (scenario.fill == Fill::FileSizeLimit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlim_t size = before.size();
      const rlimit limit{size, size};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return -2;
    }
    FileSystem& fs = FileSystem::Default();
    return IoErrorOf([&] {
      if (scenario.merge) {
        MergeWordList(fs, closed.dic, source);
      } else {
        InsertWord(fs, "a", closed.dic);
      }
    });
  });
  EXPECT_TRUE(raised == 112 || raised == 101) << raised;
  EXPECT_EQ(ReadBytes(closed.dic), before);
  EXPECT_TRUE(FileExists(source));
  ::chmod(folder.c_str(), 0755);
}

INSTANTIATE_TEST_SUITE_P(
    Store, StoreFullDiskInPlace,
    ::testing::Values(FullDiskCase{"TmpfsAdd", Fill::Tmpfs, false},
                      FullDiskCase{"TmpfsMerge", Fill::Tmpfs, true},
                      FullDiskCase{"FileSizeLimitAdd", Fill::FileSizeLimit, false},
                      FullDiskCase{"FileSizeLimitMerge", Fill::FileSizeLimit, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoreInPlace, RewritesAFileInAClosedFolderWhole) {
  TempDir dir;
  const std::string folder = dir.File("closed");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  const ClosedFolder closed(folder, {"b", "d"});
  const int status = ResultOfUnprivileged([&] {
    FileSystem& fs = FileSystem::Default();
    if (!InsertWord(fs, "c", closed.dic)) return 1;
    if (!RemoveWord(fs, "b", closed.dic, false)) return 2;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(closed.dic), (Words{"c", "d"}));
  ::chmod(folder.c_str(), 0755);
}

// A link in a sticky folder that anyone may write is followed only when it is
// the caller's or the folder owner's, as Linux's protected_symlinks rules.
struct PlantedLinkCase {
  const char* name;
  uid_t linkOwner;
  bool targetExists;
  bool followed;
};

void PrintTo(const PlantedLinkCase& scenario, std::ostream* out) {
  *out << scenario.name;
}

class StorePlantedLink : public ::testing::TestWithParam<PlantedLinkCase> {};

TEST_P(StorePlantedLink, IsFollowedOnlyWhenTheSystemWouldFollowIt) {
  if (!IsRoot()) GTEST_SKIP() << "needs root to give a link to another user";
  const PlantedLinkCase& scenario = GetParam();
  TempDir dir;
  const std::string shared = dir.File("shared");
  ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string target = dir.File("chosen.dic");
  if (scenario.targetExists) WriteDictionary(target, {"old"});
  const std::string link = shared + "/cust.dic";
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_EQ(::lchown(link.c_str(), scenario.linkOwner, scenario.linkOwner), 0);

  FileSystem& fs = FileSystem::Default();
  const int raised = IoErrorOf([&] { InsertWord(fs, "word", link); });
  if (scenario.followed) {
    EXPECT_EQ(raised, -1);
    EXPECT_TRUE(FindWord(fs, "word", link, false));
  } else {
    EXPECT_EQ(raised, 5);
    EXPECT_STREQ(EInOutError(5).what(), "File access denied");
    EXPECT_EQ(FileExists(target), scenario.targetExists) << "no file made on the link's say";
    if (scenario.targetExists) {
      EXPECT_EQ(ReadDictionary(target), Words{"old"});
    }
    EXPECT_FALSE(FindWord(fs, "old", link, false));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Store, StorePlantedLink,
    ::testing::Values(PlantedLinkCase{"OthersDanglingLink", Nobody, false, false},
                      PlantedLinkCase{"OthersLinkToAFile", Nobody, true, false},
                      PlantedLinkCase{"OwnDanglingLink", 0, false, true},
                      PlantedLinkCase{"OwnLinkToAFile", 0, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoreLinks, ALoopIsAnInvalidFilename) {
  TempDir dir;
  const std::string a = dir.File("a.dic");
  const std::string b = dir.File("b.dic");
  ASSERT_EQ(::symlink(b.c_str(), a.c_str()), 0);
  ASSERT_EQ(::symlink(a.c_str(), b.c_str()), 0);
  FileSystem& fs = FileSystem::Default();
  EXPECT_FALSE(FindWord(fs, "word", a, false));
  EXPECT_EQ(IoErrorOf([&] { InsertWord(fs, "word", a); }), 3);
  EXPECT_FALSE(RemoveWord(fs, "word", a, false));
}

// Systems move at most about 2 GiB in one call; any call may move less.
TEST(StoreTransfers, ReadsAndWritesThatMoveLessGoOnUntilAllHasMoved) {
  TempDir dir;
  const std::string dic = dir.File("d.dic");
  const std::string source = dir.File("s.dic");
  WriteDictionary(dic, NumberedWords(200, "b"));
  WriteDictionary(source, {"c", "a"});
  FaultInjectingFileSystem fs(FileSystem::Default());
  fs.LimitTransfers(1000);
  EXPECT_TRUE(InsertWord(fs, "a", dic));
  EXPECT_TRUE(RemoveWord(fs, "b0100", dic, false));
  EXPECT_TRUE(MergeWordList(fs, dic, source));
  EXPECT_TRUE(FindWord(fs, "b0199", dic, false));
  Words expected = NumberedWords(200, "b");
  expected.erase(expected.begin() + 100);
  expected.insert(expected.begin(), "a");
  expected.push_back("c");
  EXPECT_EQ(ReadDictionary(dic), expected);
}

TEST(StoreAttributes, AUserGivenWriteAccessByAnAccessListKeepsIt) {
  if (!IsRoot()) GTEST_SKIP() << "needs root to act as two users";
  if (std::system("command -v setfacl >/dev/null 2>&1") != 0) GTEST_SKIP() << "no setfacl";
  TempDir dir;
  const std::string folder = dir.File("team");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  const std::string dic = folder + "/d.dic";
  WriteDictionary(dic, {"m"});
  ASSERT_EQ(::chmod(dic.c_str(), 0644), 0);
  if (std::system(("setfacl -m u:nobody:rw " + dic).c_str()) != 0) {
    GTEST_SKIP() << "the file system has no access lists";
  }
  FileSystem& fs = FileSystem::Default();
  const auto addAsNobody = [&](const char* word) {
    return ResultOfUnprivileged(
        [&] { return InsertWord(FileSystem::Default(), word, dic) ? 0 : 1; });
  };
  EXPECT_EQ(addAsNobody("a"), 0);
  EXPECT_TRUE(InsertWord(fs, "b", dic));  // root's change makes a new file
  EXPECT_EQ(addAsNobody("c"), 0);
  EXPECT_EQ(ReadDictionary(dic), (Words{"a", "b", "c", "m"}));
}

TEST(StoreAttributes, ExtendedAttributesGoToTheNewFile) {
  TempDir dir;
  const std::string dic = dir.File("d.dic");
  WriteDictionary(dic, {"m"});
  const std::string value = "kept";
  if (::setxattr(dic.c_str(), "user.origin", value.data(), value.size(), 0) != 0) {
    GTEST_SKIP() << "the file system has no user attributes";
  }
  FileSystem& fs = FileSystem::Default();
  EXPECT_TRUE(InsertWord(fs, "a", dic));
  EXPECT_TRUE(RemoveWord(fs, "m", dic, false));
  char got[16] = {};
  const ssize_t n = ::getxattr(dic.c_str(), "user.origin", got, sizeof got);
  EXPECT_EQ(std::string(got, n > 0 ? static_cast<std::size_t>(n) : 0), value);
}

// A descriptor of the test's own holding the copy's lock, as a writer at
// work would.
class LockedCopy {
 public:
  explicit LockedCopy(const std::string& name) : fd_(::open(name.c_str(), O_RDWR | O_CREAT, 0644)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~LockedCopy() {
    if (fd_ >= 0) ::close(fd_);
  }
  LockedCopy(const LockedCopy&) = delete;
  LockedCopy& operator=(const LockedCopy&) = delete;

 private:
  int fd_;
};

TEST(StoreLeftCopies, TheNextWriterRemovesItsDictionarysUnheldCopiesOnly) {
  TempDir dir;
  const std::string dic = dir.File("d.dic");
  WriteDictionary(dic, {"m"});
  const Words left = {".d.dic.abcdefghij", ".d.dic.0123456789"};
  const Words kept = {".d.dic.abc",          // not of the pattern
                      ".d.dic.ABCDEFGHIJ",   // not of the pattern
                      ".e.dic.abcdefghij",   // another dictionary's
                      "d.dic.abcdefghij",    // not hidden
                      ".d.dic.heldbywrtr"};  // held by a writer at work
  for (const auto& name : left) WriteDictionary(dir.File(name), {"m", "z"});
  for (const auto& name : kept) WriteDictionary(dir.File(name), {"m", "z"});
  const LockedCopy held(dir.File(".d.dic.heldbywrtr"));
  EXPECT_TRUE(InsertWord(FileSystem::Default(), "a", dic));
  for (const auto& name : left) EXPECT_FALSE(FileExists(dir.File(name))) << name;
  for (const auto& name : kept) EXPECT_TRUE(FileExists(dir.File(name))) << name;
}

TEST(StoreCanChange, TellsAFileTheCallerMayNotChangeFromAnAbsentOne) {
  TempDir dir;
  const std::string writable = dir.File("w.dic");
  const std::string readOnly = dir.File("r.dic");
  WriteDictionary(writable, {"a"});
  WriteDictionary(readOnly, {"a"});
  ::chmod(writable.c_str(), 0666);
  ::chmod(readOnly.c_str(), 0444);
  const std::string absent = dir.File("none.dic");
  const int status = ResultOfUnprivileged([&] {
    FileSystem& fs = FileSystem::Default();
    if (CanChange(fs, writable) != code::Ok) return 1;
    if (CanChange(fs, readOnly) != code::AccessDenied) return 2;
    if (CanChange(fs, absent) != code::FileNotFound) return 3;
    // The operations themselves answer the read-only and the absent alike.
    if (RemoveWord(fs, "a", readOnly, false) || RemoveWord(fs, "a", absent, false)) return 4;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(readOnly), Words{"a"});
}

}  // namespace
}  // namespace spellcheck::store
