// Inserting a word into one word-list file.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#endif

#include "store/WordList.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Words = std::vector<std::string>;

bool Insert(const std::string& word, const std::string& path) {
  return InsertWord(Posix(), word, path);
}

TEST(StoreInsert, MissingFileIsMadeHoldingTheWord) {
  TempDir dir;
  EXPECT_TRUE(Insert("hello", dir.File("d")));
  EXPECT_EQ(ReadDictionary(dir.File("d")), Words{"hello"});
  EXPECT_EQ(dir.Entries(), Words{"d"});
}

TEST(StoreInsert, PlacesTheWordInByteOrder) {
  TempDir dir;
  const struct {
    Words before;
    std::string word;
    Words after;
  } cases[] = {
      {{}, "only", {"only"}},
      {{"b", "d"}, "a", {"a", "b", "d"}},
      {{"b", "d"}, "c", {"b", "c", "d"}},
      {{"b", "d"}, "e", {"b", "d", "e"}},
      {{"ab", "abd"}, "abc", {"ab", "abc", "abd"}},
      // Letter case counts: a capital sorts before every small letter.
      {{"apple", "banana"}, "Apple", {"Apple", "apple", "banana"}},
      {{"Apple", "banana"}, "apple", {"Apple", "apple", "banana"}},
      {{"zzz"}, "\xE9t\xE9", {"zzz", "\xE9t\xE9"}},
      {{"a", "b"}, "", {"", "a", "b"}},
  };
  for (const auto& c : cases) {
    WriteDictionary(dir.File("d"), c.before);
    EXPECT_TRUE(Insert(c.word, dir.File("d"))) << c.word;
    EXPECT_EQ(ReadDictionary(dir.File("d")), c.after) << c.word;
  }
}

TEST(StoreInsert, StoredWordLeavesTheFileUntouched) {
  TempDir dir;
  // Filler bytes show whether the file was written anew.
  const std::string bytes = RecordBytes("alpha", 'x') + RecordBytes("beta", 'y') + "tail";
  WriteBytes(dir.File("d"), bytes);
  EXPECT_FALSE(Insert("beta", dir.File("d")));
  EXPECT_EQ(ReadBytes(dir.File("d")), bytes);
}

TEST(StoreInsert, LongWordIsCutAndCanBeStoredTwice) {
  TempDir dir;
  const std::string word = "abcdefghijklmnopqrstuvwxyz1234";  // 30 characters
  WriteDictionary(dir.File("d"), {"a", "zz"});
  EXPECT_TRUE(Insert(word, dir.File("d")));
  EXPECT_TRUE(Insert(word, dir.File("d")));
  EXPECT_EQ(ReadDictionary(dir.File("d")),
            (Words{"a", word.substr(0, 24), word.substr(0, 24), "zz"}));
}

TEST(StoreInsert, TrailingPieceIsDroppedByTheRewrite) {
  TempDir dir;
  WriteBytes(dir.File("d"), RecordBytes("b") + std::string(10, 'x'));
  EXPECT_TRUE(Insert("a", dir.File("d")));
  EXPECT_EQ(ReadBytes(dir.File("d")).size(), 50u);
  EXPECT_EQ(ReadDictionary(dir.File("d")), (Words{"a", "b"}));
}

TEST(StoreInsert, OutOfOrderFileGetsTheWordWhereTheScanStops) {
  TempDir dir;
  const struct {
    Words before;
    std::string word;
    Words after;
  } cases[] = {
      // Record 0 is not less than the word: it goes first.
      {{"m", "a"}, "k", {"k", "m", "a"}},
      // The first record less than the word followed by a greater one.
      {{"c", "a", "x", "b"}, "d", {"c", "a", "d", "x", "b"}},
      // No such pair: it goes last.
      {{"b", "a"}, "c", {"b", "a", "c"}},
      // The lookup misses "z" in this order, so it is stored a second time.
      {{"z", "b", "a"}, "z", {"z", "z", "b", "a"}},
  };
  for (const auto& c : cases) {
    WriteDictionary(dir.File("d"), c.before);
    EXPECT_TRUE(Insert(c.word, dir.File("d"))) << c.word;
    EXPECT_EQ(ReadDictionary(dir.File("d")), c.after) << c.word;
  }
}

TEST(StoreInsert, MissingFolderRaisesInvalidFilename) {
  TempDir dir;
  try {
    Insert("word", dir.File("no-folder/d"));
    FAIL() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 3);
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
  EXPECT_EQ(dir.Entries(), Words{});
}

TEST(StoreInsert, LeavesNoDescriptorOpen) {
  TempDir dir;
  const int before = OpenDescriptorCount();
  Insert("b", dir.File("d"));
  Insert("a", dir.File("d"));
  Insert("a", dir.File("d"));
  IoErrorOf([&] { Insert("a", dir.File("none/d")); });
  EXPECT_EQ(OpenDescriptorCount(), before);
}

#if !defined(_WIN32)
// Permissions, links and folders as a POSIX system has them.
std::uint32_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

Words EntriesOf(const std::string& folder) {
  Words names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(StoreInsert, ReadOnlyDictionaryRaisesAccessDeniedAndStays) {
  TempDir dir;
  const std::string path = dir.File("d");
  WriteDictionary(path, {"alpha"});
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const int status = ResultOfUnprivileged([&] {
    try {
      InsertWord(FileSystem::Default(), "beta", path);
    } catch (const EInOutError& error) {
      return error.ErrorCode == 5 && std::string(error.what()) == "File access denied" ? 0 : 1;
    }
    return 2;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(path), Words{"alpha"});
  EXPECT_EQ(dir.Entries(), Words{"d"});
}

TEST(StoreInsert, FolderNameRaisesAccessDenied) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("d").c_str(), 0755), 0);
  EXPECT_EQ(IoErrorOf([&] { Insert("word", dir.File("d")); }), 5);
  EXPECT_EQ(dir.Entries(), Words{"d"});
}

TEST(StoreInsert, KeepsPermissionBitsAndReplacesTheFileBehindALink) {
  TempDir dir;
  WriteDictionary(dir.File("real"), {"b"});
  ASSERT_EQ(::chmod(dir.File("real").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("real", dir.File("link").c_str()), 0);
  EXPECT_TRUE(Insert("a", dir.File("link")));
  EXPECT_EQ(ReadDictionary(dir.File("real")), (Words{"a", "b"}));
  EXPECT_EQ(ModeOf(dir.File("real")), 0640u);
  struct stat st {};
  ASSERT_EQ(::lstat(dir.File("link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.Entries(), (Words{"link", "real"}));
}

TEST(StoreInsert, DanglingLinkMakesItsFile) {
  TempDir dir;
  ASSERT_EQ(::symlink("real", dir.File("link").c_str()), 0);
  EXPECT_TRUE(Insert("a", dir.File("link")));
  EXPECT_EQ(ReadDictionary(dir.File("real")), Words{"a"});
  EXPECT_EQ(dir.Entries(), (Words{"link", "real"}));
}

TEST(StoreInsert, WritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("locked").c_str(), 0777), 0);
  const std::string path = dir.File("locked/d");
  WriteDictionary(path, {"b"});
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.File("locked").c_str(), 0555), 0);
  const int status = ResultOfUnprivileged([&] {
    const bool added = InsertWord(FileSystem::Default(), "a", path);
    const bool again = InsertWord(FileSystem::Default(), "a", path);
    return added && !again ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(path), (Words{"a", "b"}));
  EXPECT_EQ(ModeOf(path), 0666u);
  EXPECT_EQ(EntriesOf(dir.File("locked")), Words{"d"});
}

TEST(StoreInsert, AnotherUsersFileInAStickyFolderIsRewrittenInPlace) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("shared").c_str(), 0777), 0);
  ASSERT_EQ(::chmod(dir.File("shared").c_str(), 01777), 0);
  const std::string path = dir.File("shared/d");
  WriteDictionary(path, {"b"});
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  const int status =
      ResultOfUnprivileged([&] { return InsertWord(FileSystem::Default(), "a", path) ? 0 : 1; });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(path), (Words{"a", "b"}));
  EXPECT_EQ(EntriesOf(dir.File("shared")), Words{"d"});
}

TEST(StoreInsert, AbsentFileInAReadOnlyFolderRaisesAccessDenied) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
  const int status = ResultOfUnprivileged([&] {
    try {
      InsertWord(FileSystem::Default(), "a", dir.File("d"));
    } catch (const EInOutError& error) {
      return error.ErrorCode == 5 ? 0 : 1;
    }
    return 2;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(dir.Entries(), Words{});
}

#endif  // !_WIN32

}  // namespace
}  // namespace spellcheck::store
