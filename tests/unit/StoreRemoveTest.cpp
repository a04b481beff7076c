// Removing a word from one word-list file.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "store/WordList.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Words = std::vector<std::string>;

bool Remove(const std::string& word, const std::string& path, bool ignoreCase = false) {
  return RemoveWord(Posix(), word, path, ignoreCase);
}

TEST(StoreRemove, MissingFileGivesFalseAndStaysMissing) {
  TempDir dir;
  EXPECT_FALSE(Remove("word", dir.File("d")));
  EXPECT_FALSE(Remove("word", dir.File("d"), true));
  EXPECT_EQ(dir.Entries(), Words{});
}

TEST(StoreRemove, TakesOutEveryMatchingRecord) {
  TempDir dir;
  const struct {
    Words before;
    std::string word;
    bool ignoreCase;
    bool result;
    Words after;
  } cases[] = {
      {{"a", "b", "c"}, "b", false, true, {"a", "c"}},
      {{"a", "b", "b", "c"}, "b", false, true, {"a", "c"}},
      {{"a", "c"}, "b", false, false, {"a", "c"}},
      {{"Apple", "apple", "b"}, "apple", false, true, {"Apple", "b"}},
      // Once found, every case variant of A to Z goes, wherever it stands.
      {{"APPLE", "Apple", "ApPle", "apple", "b"}, "apple", true, true, {"b"}},
      {{"APPLE", "b", "c", "d", "e", "apple"}, "Apple", true, true, {"b", "c", "d", "e"}},
      // Found by the lookup's path only: 'Apple' lies off the path.
      {{"Apple", "Zebra", "banana"}, "apple", true, false, {"Apple", "Zebra", "banana"}},
      // Letters outside A to Z must match exactly.
      {{"\xC4"
        "bc",
        "\xE4"
        "bc"},
       "\xC4"
       "BC",
       true,
       true,
       {"\xE4"
        "bc"}},
      // A word longer than 24 characters matches no record.
      {{"abcdefghijklmnopqrstuvwx"},
       "abcdefghijklmnopqrstuvwxyz",
       false,
       false,
       {"abcdefghijklmnopqrstuvwx"}},
  };
  for (const auto& c : cases) {
    WriteDictionary(dir.File("d"), c.before);
    EXPECT_EQ(Remove(c.word, dir.File("d"), c.ignoreCase), c.result) << c.word;
    EXPECT_EQ(ReadDictionary(dir.File("d")), c.after) << c.word;
  }
}

TEST(StoreRemove, MissingWordLeavesTheFileUntouched) {
  TempDir dir;
  const std::string bytes = RecordBytes("alpha", 'x') + RecordBytes("gamma", 'y') + "piece";
  WriteBytes(dir.File("d"), bytes);
  EXPECT_FALSE(Remove("beta", dir.File("d")));
  EXPECT_EQ(ReadBytes(dir.File("d")), bytes);
}

TEST(StoreRemove, EmptyFileStaysInPlace) {
  TempDir dir;
  WriteBytes(dir.File("d"), "");
  EXPECT_FALSE(Remove("", dir.File("d")));
  EXPECT_TRUE(FileExists(dir.File("d")));
}

TEST(StoreRemove, RemovingTheLastWordDeletesTheFile) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"only", "only"});
  EXPECT_TRUE(Remove("only", dir.File("d")));
  EXPECT_EQ(dir.Entries(), Words{});
  // Also with a trailing piece after the record.
  WriteBytes(dir.File("d"), RecordBytes("only") + "xyz");
  EXPECT_TRUE(Remove("ONLY", dir.File("d"), true));
  EXPECT_EQ(dir.Entries(), Words{});
}

TEST(StoreRemove, TrailingPieceIsDroppedByTheRewrite) {
  TempDir dir;
  WriteBytes(dir.File("d"), RecordBytes("a") + RecordBytes("b") + std::string(24, 'z'));
  EXPECT_TRUE(Remove("a", dir.File("d")));
  EXPECT_EQ(ReadBytes(dir.File("d")), RecordBytes("b"));
}

TEST(StoreRemove, LeavesNoDescriptorOpen) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"a", "b"});
  const int before = OpenDescriptorCount();
  Remove("x", dir.File("d"));
  Remove("a", dir.File("d"));
  Remove("B", dir.File("d"), true);
  EXPECT_EQ(OpenDescriptorCount(), before);
  EXPECT_EQ(dir.Entries(), Words{});
}

#if !defined(_WIN32)
// Permissions, links and folders as a POSIX system has them.
TEST(StoreRemove, ReadOnlyDictionaryIsAbsentForRemoval) {
  TempDir dir;
  const std::string path = dir.File("d");
  WriteDictionary(path, {"alpha", "beta"});
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const int status = ResultOfUnprivileged(
      [&] { return RemoveWord(FileSystem::Default(), "beta", path, false) ? 1 : 0; });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(path), (Words{"alpha", "beta"}));
}

TEST(StoreRemove, EmptiedFileThatCannotBeDeletedStaysWithoutRecords) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("locked").c_str(), 0777), 0);
  const std::string path = dir.File("locked/d");
  WriteDictionary(path, {"only"});
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.File("locked").c_str(), 0555), 0);
  const int status = ResultOfUnprivileged(
      [&] { return RemoveWord(FileSystem::Default(), "only", path, false) ? 0 : 1; });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(StoreRemove, ThroughALinkEmptiesItsFileAndDeletesTheLink) {
  TempDir dir;
  WriteDictionary(dir.File("real"), {"a", "b"});
  ASSERT_EQ(::symlink("real", dir.File("link").c_str()), 0);
  EXPECT_TRUE(Remove("a", dir.File("link")));
  EXPECT_EQ(ReadDictionary(dir.File("real")), Words{"b"});
  EXPECT_EQ(dir.Entries(), (Words{"link", "real"}));
  EXPECT_TRUE(Remove("b", dir.File("link")));
  EXPECT_EQ(dir.Entries(), Words{"real"});
  EXPECT_EQ(ReadBytes(dir.File("real")), "");
}

#endif  // !_WIN32

}  // namespace
}  // namespace spellcheck::store
