// Moving the words of one word-list file into another.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <filesystem>
#include <random>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "store/TvarWord.h"
#include "store/WordList.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Words = std::vector<std::string>;

bool Merge(const std::string& target, const std::string& source) {
  return MergeWordList(Posix(), target, source);
}

TEST(StoreMerge, MissingSourceChangesNothing) {
  TempDir dir;
  EXPECT_FALSE(Merge(dir.File("t"), dir.File("s")));
  EXPECT_EQ(dir.Entries(), Words{});
  WriteDictionary(dir.File("t"), {"a"});
  EXPECT_FALSE(Merge(dir.File("t"), dir.File("s")));
  EXPECT_EQ(ReadDictionary(dir.File("t")), Words{"a"});
}

TEST(StoreMerge, SourceWithoutRecordsIsDeletedAndNoTargetMade) {
  TempDir dir;
  for (const std::string bytes : {"", "short piece"}) {
    WriteBytes(dir.File("s"), bytes);
    EXPECT_TRUE(Merge(dir.File("t"), dir.File("s")));
    EXPECT_EQ(dir.Entries(), Words{});
  }
}

TEST(StoreMerge, MovesEveryDistinctWordInOrder) {
  TempDir dir;
  const struct {
    Words target;  // empty: no target file
    Words source;
    Words after;
  } cases[] = {
      {{}, {"pear", "apple", "pear", "fig"}, {"apple", "fig", "pear"}},
      {{"b", "d"}, {"e", "a", "c", "d"}, {"a", "b", "c", "d", "e"}},
      {{"b", "d"}, {"d", "b"}, {"b", "d"}},
      // Only exact matches are skipped.
      {{"apple"}, {"Apple", "APPLE"}, {"APPLE", "Apple", "apple"}},
      // Equal records already in the target stay.
      {{"a", "a", "c"}, {"b"}, {"a", "a", "b", "c"}},
  };
  for (const auto& c : cases) {
    if (c.target.empty()) {
      std::filesystem::remove(dir.File("t"));
    } else {
      WriteDictionary(dir.File("t"), c.target);
    }
    WriteDictionary(dir.File("s"), c.source);
    EXPECT_TRUE(Merge(dir.File("t"), dir.File("s")));
    EXPECT_EQ(ReadDictionary(dir.File("t")), c.after);
    EXPECT_EQ(dir.Entries(), Words{"t"});
  }
}

TEST(StoreMerge, NothingNewLeavesTheTargetUntouched) {
  TempDir dir;
  const std::string bytes = RecordBytes("a", 'x') + RecordBytes("b", 'y') + "piece";
  WriteBytes(dir.File("t"), bytes);
  WriteDictionary(dir.File("s"), {"b", "a"});
  EXPECT_TRUE(Merge(dir.File("t"), dir.File("s")));
  EXPECT_EQ(ReadBytes(dir.File("t")), bytes);
  EXPECT_FALSE(FileExists(dir.File("s")));
}

// The merge must leave what inserting the source's words one by one leaves.
void ExpectSameAsInsertions(const Words& target, const Words& source, const std::string& what) {
  TempDir dir;
  WriteDictionary(dir.File("one-by-one"), target);
  for (const auto& word : source) InsertWord(Posix(), word, dir.File("one-by-one"));
  WriteDictionary(dir.File("t"), target);
  WriteDictionary(dir.File("s"), source);
  EXPECT_TRUE(Merge(dir.File("t"), dir.File("s")));
  EXPECT_EQ(ReadDictionary(dir.File("t")), ReadDictionary(dir.File("one-by-one"))) << what;
}

Words RandomWords(std::mt19937& random, int count) {
  // Few letters, so that words repeat and share beginnings.
  std::uniform_int_distribution<int> length(0, 4), letter(0, 3);
  const char letters[] = {'a', 'b', 'B', '\xE9'};
  Words words;
  for (int i = 0; i < count; ++i) {
    std::string word;
    for (int n = length(random); n > 0; --n) word += letters[letter(random)];
    words.push_back(word);
  }
  return words;
}

TEST(StoreMerge, EqualsInsertingEveryWordInOrder) {
  std::mt19937 random(12345);
  for (int round = 0; round < 60; ++round) {
    Words target = RandomWords(random, round % 15);
    const Words source = RandomWords(random, round % 20);
    const bool ordered = round % 2 == 0;
    if (ordered)
      std::sort(target.begin(), target.end(),
                [](const auto& a, const auto& b) { return CompareText(a, b) < 0; });
    ExpectSameAsInsertions(
        target, source, (ordered ? "ordered round " : "unordered round ") + std::to_string(round));
  }
}

TEST(StoreMerge, LeavesNoDescriptorOpen) {
  TempDir dir;
  WriteDictionary(dir.File("t"), {"b"});
  WriteDictionary(dir.File("s"), {"a", "c"});
  const int before = OpenDescriptorCount();
  EXPECT_TRUE(Merge(dir.File("t"), dir.File("s")));
  EXPECT_FALSE(Merge(dir.File("t"), dir.File("t")));
  EXPECT_FALSE(Merge(dir.File("t"), dir.File("s")));
  EXPECT_EQ(OpenDescriptorCount(), before);
}

#if !defined(_WIN32)
// Permissions, links and folders as a POSIX system has them.
TEST(StoreMerge, OneFileByTwoNamesIsRefusedAndKept) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"a", "b"});
  ASSERT_EQ(::link(dir.File("d").c_str(), dir.File("hard").c_str()), 0);
  ASSERT_EQ(::symlink("d", dir.File("soft").c_str()), 0);
  for (const auto& [target, source] :
       {std::pair{"d", "d"}, {"d", "hard"}, {"soft", "d"}, {"hard", "soft"}, {"d", "./d"}}) {
    EXPECT_FALSE(Merge(dir.File(target), dir.File(source))) << target << " " << source;
    EXPECT_EQ(ReadDictionary(dir.File("d")), (Words{"a", "b"}));
    EXPECT_EQ(dir.Entries(), (Words{"d", "hard", "soft"}));
  }
}

TEST(StoreMerge, ReadOnlySourceIsAbsent) {
  TempDir dir;
  WriteDictionary(dir.File("s"), {"a"});
  ASSERT_EQ(::chmod(dir.File("s").c_str(), 0444), 0);
  const int status = ResultOfUnprivileged(
      [&] { return MergeWordList(FileSystem::Default(), dir.File("t"), dir.File("s")) ? 1 : 0; });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(dir.Entries(), Words{"s"});
}

TEST(StoreMerge, ReadOnlyTargetRaisesAccessDeniedAndKeepsBoth) {
  TempDir dir;
  WriteDictionary(dir.File("t"), {"b"});
  WriteDictionary(dir.File("s"), {"a"});
  ASSERT_EQ(::chmod(dir.File("t").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.File("s").c_str(), 0666), 0);
  const int status = ResultOfUnprivileged([&] {
    try {
      MergeWordList(FileSystem::Default(), dir.File("t"), dir.File("s"));
    } catch (const EInOutError& error) {
      return error.ErrorCode == 5 ? 0 : 1;
    }
    return 2;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(dir.File("t")), Words{"b"});
  EXPECT_EQ(ReadDictionary(dir.File("s")), Words{"a"});
  EXPECT_EQ(dir.Entries(), (Words{"s", "t"}));
}

TEST(StoreMerge, UndeletableSourceKeepsItsWords) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("locked").c_str(), 0777), 0);
  const std::string source = dir.File("locked/s");
  WriteDictionary(source, {"a"});
  ASSERT_EQ(::chmod(source.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.File("locked").c_str(), 0555), 0);
  const int status = ResultOfUnprivileged(
      [&] { return MergeWordList(FileSystem::Default(), dir.File("t"), source) ? 0 : 1; });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadDictionary(dir.File("t")), Words{"a"});
  EXPECT_EQ(ReadDictionary(source), Words{"a"});
}

#endif  // !_WIN32

}  // namespace
}  // namespace spellcheck::store
