// Looking a word up in one word-list file.
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

bool Find(const std::string& word, const std::string& path, bool ignoreCase = false) {
  return FindWord(Posix(), word, path, ignoreCase);
}

TEST(StoreLookup, FindsEveryRecordOfOrderedFilesAndMissesTheGaps) {
  TempDir dir;
  const std::string path = dir.File("d");
  for (int n = 1; n <= 64; ++n) {
    // "b00", "b02", ... leave room for misses between every two records.
    std::vector<std::string> words;
    for (int i = 0; i < n; ++i) words.push_back("b" + std::to_string(100 + 2 * i));
    WriteDictionary(path, words);
    for (int i = 0; i < n; ++i) {
      EXPECT_TRUE(Find(words[i], path)) << n << " records, record " << i;
      EXPECT_FALSE(Find("b" + std::to_string(101 + 2 * i), path)) << n << " records, after " << i;
    }
    EXPECT_FALSE(Find("a", path)) << n << " records, before the first";
    EXPECT_FALSE(Find("b099", path)) << n << " records, before the first";
    EXPECT_FALSE(Find("c", path)) << n << " records, after the last";
  }
}

TEST(StoreLookup, AbsentShortAndEmptyFilesHoldNothing) {
  TempDir dir;
  EXPECT_FALSE(Find("word", dir.File("missing")));
  EXPECT_FALSE(Find("word", dir.File("no-folder/d")));
  for (const std::size_t bytes : {0, 1, 24}) {
    WriteBytes(dir.File("short"), std::string(bytes, '\4'));
    EXPECT_FALSE(Find("", dir.File("short"))) << bytes << " bytes";
    EXPECT_FALSE(Find("word", dir.File("short"))) << bytes << " bytes";
  }
}

TEST(StoreLookup, ATrailingPieceIsNoRecord) {
  TempDir dir;
  WriteBytes(dir.File("d"), RecordBytes("alpha") + RecordBytes("omega").substr(0, 24));
  EXPECT_TRUE(Find("alpha", dir.File("d")));
  EXPECT_FALSE(Find("omega", dir.File("d")));
}

TEST(StoreLookup, ComparesTheWholeWordAndIgnoresFiller) {
  TempDir dir;
  const std::string longWord(30, 'q');
  WriteBytes(dir.File("d"), RecordBytes("apple", 'Z') + RecordBytes(longWord, 'x'));
  EXPECT_TRUE(Find("apple", dir.File("d")));
  EXPECT_TRUE(Find(longWord.substr(0, 24), dir.File("d")));
  EXPECT_FALSE(Find(longWord, dir.File("d")));
  EXPECT_FALSE(Find(longWord, dir.File("d"), true));
}

TEST(StoreLookup, EmptyWordIsFoundAsAnEmptyRecord) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"", "a"});
  EXPECT_TRUE(Find("", dir.File("d")));
  WriteDictionary(dir.File("d"), {"a"});
  EXPECT_FALSE(Find("", dir.File("d")));
}

TEST(StoreLookup, CaseInsensitiveHitsOnlyOnTheExactSearchPath) {
  TempDir dir;
  const struct {
    std::vector<std::string> file;
    std::string word;
    bool ignoreCase;
    bool found;
  } cases[] = {
      {{"Apple"}, "apple", false, false},
      {{"Apple"}, "apple", true, true},
      {{"Apple", "banana"}, "apple", true, true},
      // The first probe is 'Zebra' < 'apple', then 'banana' > 'apple': 'Apple' is never probed.
      {{"Apple", "Zebra", "banana"}, "apple", true, false},
      {{"Apple", "Zebra", "banana"}, "Apple", false, true},
      {{"MIXED-Case 42"}, "mixed-case 42", true, true},
      // Only A to Z fold: code 196 and code 228 stay different.
      {{"\xE4"
        "bc"},
       "\xC4"
       "bc",
       true,
       false},
      {{"\xE4"
        "bc"},
       "\xC4"
       "bc",
       false,
       false},
      {{"\xC4"
        "BC"},
       "\xC4"
       "bc",
       true,
       true},
  };
  for (const auto& c : cases) {
    WriteDictionary(dir.File("d"), c.file);
    EXPECT_EQ(Find(c.word, dir.File("d"), c.ignoreCase), c.found)
        << c.word << " ignoreCase " << c.ignoreCase;
  }
}

TEST(StoreLookup, OutOfOrderFileMayMissAStoredWord) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"zulu", "mike", "alpha"});
  EXPECT_TRUE(Find("mike", dir.File("d")));
  EXPECT_FALSE(Find("alpha", dir.File("d")));
  EXPECT_FALSE(Find("zulu", dir.File("d")));
}

TEST(StoreLookup, LeavesNoDescriptorOpen) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"alpha", "beta"});
  const int before = OpenDescriptorCount();
  Find("beta", dir.File("d"));
  Find("zzz", dir.File("d"), true);
  Find("beta", dir.File("missing"));
  EXPECT_EQ(OpenDescriptorCount(), before);
}

#if !defined(_WIN32)
// Permissions, links and folders as a POSIX system has them.
TEST(StoreLookup, ReadOnlyDictionaryIsRead) {
  TempDir dir;
  const std::string path = dir.File("d");
  WriteDictionary(path, {"alpha", "beta"});
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const int status = ResultOfUnprivileged([&] {
    return (FindWord(FileSystem::Default(), "beta", path, false) ? 1 : 0) +
           (FindWord(FileSystem::Default(), "gamma", path, false) ? 2 : 0);
  });
  EXPECT_EQ(status, 1);
}

#endif  // !_WIN32

}  // namespace
}  // namespace spellcheck::store
