// Real resource faults: a full disk, too many open files, names that are not
// regular files, and a folder that refuses new files. Each gives its code and
// no dictionary loses a word. (POSIX resources and limits.)
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "store/WordList.h"
#include "support/TestFiles.h"

namespace spellcheck {
namespace {

using store::FileSystem;
using testing::ReadBytes;
using testing::ReadDictionary;
using testing::RunUnprivileged;
using testing::TempDir;
using testing::WriteDictionary;

FileSystem& fs = FileSystem::Default();

std::vector<std::string> Words(int count) {
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i) words.push_back("word" + std::to_string(1000 + i));
  return words;
}

// The code of the error that `operation` raises, or 0 when it raises none.
template <class Operation>
int RaisedCode(Operation operation) {
  try {
    operation();
  } catch (const EInOutError& error) {
    return error.ErrorCode;
  }
  return 0;
}

TEST(ResourceFaults, FullDiskRaisesAndKeepsTheDictionary) {
  TempDir dir;
  const std::string dic = dir.File("full.dic");
  WriteDictionary(dic, Words(200));  // 5000 bytes
  ::chmod(dic.c_str(), 0666);
  const std::string before = ReadBytes(dic);
  const int status = RunUnprivileged([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4000, 4000};  // smaller than the dictionary: no rewrite fits
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    const int insert = RaisedCode([&] { store::InsertWord(fs, "aaa", dic); });
    if (insert != 101 && insert != 112) return 1;
    const int remove = RaisedCode([&] { store::RemoveWord(fs, "word1005", dic, false); });
    if (remove != 101 && remove != 112) return 2;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dic), before);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"full.dic"}) << "no temporary file left";
}

TEST(ResourceFaults, TooManyOpenFiles) {
  TempDir dir;
  const std::string dic = dir.File("d.dic");
  WriteDictionary(dic, Words(10));
  ::chmod(dic.c_str(), 0666);
  const std::string before = ReadBytes(dic);
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' runtime needs descriptors of its own (it probes memory "
                  "through a pipe); this case runs in the plain build";
#endif
  const int status = RunUnprivileged([&] {
    // The lowest free descriptor becomes the limit: the next open fails.
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    const rlimit limit{static_cast<rlim_t>(lowestFree), static_cast<rlim_t>(lowestFree)};
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) return 10;
    // A reader sees an absent dictionary; a writer cannot make one.
    if (store::FindWord(fs, "word1001", dic, false)) return 1;
    if (RaisedCode([&] { store::InsertWord(fs, "aaa", dic); }) != 4) return 2;
    if (store::RemoveWord(fs, "word1001", dic, false)) return 3;
    if (store::MergeWordList(fs, dir.File("t.dic"), dic)) return 4;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dic), before);
  EXPECT_STREQ(EInOutError(4).what(), "Too many open files");
}

TEST(ResourceFaults, FolderInPlaceOfADictionary) {
  TempDir dir;
  const std::string folder = dir.File("folder.dic");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  EXPECT_FALSE(store::FindWord(fs, "word", folder, false));
  EXPECT_EQ(RaisedCode([&] { store::InsertWord(fs, "word", folder); }), 5);
  EXPECT_FALSE(store::RemoveWord(fs, "word", folder, false));
  EXPECT_FALSE(store::MergeWordList(fs, dir.File("t.dic"), folder));
  struct stat st;
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(ResourceFaults, FifoInPlaceOfADictionaryNeverHangs) {
  TempDir dir;
  const std::string fifo = dir.File("pipe.dic");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  EXPECT_FALSE(store::FindWord(fs, "word", fifo, false));
  EXPECT_EQ(RaisedCode([&] { store::InsertWord(fs, "word", fifo); }), 5);
  EXPECT_FALSE(store::RemoveWord(fs, "word", fifo, false));
  EXPECT_FALSE(store::MergeWordList(fs, dir.File("t.dic"), fifo));
  struct stat st;
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(ResourceFaults, DanglingLinkIsAnAbsentDictionaryThatInsertionMakes) {
  TempDir dir;
  const std::string link = dir.File("link.dic");
  const std::string target = dir.File("target.dic");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  EXPECT_FALSE(store::FindWord(fs, "word", link, false));
  EXPECT_FALSE(store::RemoveWord(fs, "word", link, false));
  EXPECT_TRUE(store::InsertWord(fs, "word", link));
  struct stat st;
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
  EXPECT_EQ(ReadDictionary(target), std::vector<std::string>{"word"});
}

TEST(ResourceFaults, FolderWithoutWritePermission) {
  TempDir dir;
  const std::string folder = dir.File("locked");
  ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
  const std::string dic = folder + "/d.dic";
  const std::string one = folder + "/one.dic";
  WriteDictionary(dic, {"beta", "delta"});
  WriteDictionary(one, {"only"});
  ::chmod(dic.c_str(), 0666);
  ::chmod(one.c_str(), 0666);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const int status = RunUnprivileged([&] {
    // The file itself is writable: it is rewritten in place.
    if (!store::InsertWord(fs, "gamma", dic)) return 1;
    if (!store::RemoveWord(fs, "beta", dic, false)) return 2;
    // The emptied file cannot be deleted; it stays, without records.
    if (!store::RemoveWord(fs, "only", one, false)) return 3;
    // A new dictionary cannot be made there.
    if (RaisedCode([&] { store::InsertWord(fs, "x", folder + "/new.dic"); }) != 5) return 4;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(dic), (std::vector<std::string>{"delta", "gamma"}));
  EXPECT_EQ(ReadBytes(one), "");
  ::chmod(folder.c_str(), 0755);
}

}  // namespace
}  // namespace spellcheck
