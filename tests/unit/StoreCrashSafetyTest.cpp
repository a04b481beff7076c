// A writer process killed at random moments leaves the dictionary as it was
// before or after the change in progress, whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "store/TvarWord.h"
#include "store/WordList.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using WordSet = std::set<std::string>;

std::string Numbered(const char* stem, int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%05d", stem, n);
  return text;
}

// Change number `n` of an endless series: two insertions, a removal of the
// word inserted just before, then a merge of two new words.
void ApplyToFile(int n, const TempDir& dir) {
  FileSystem& fs = FileSystem::Default();
  switch (n % 4) {
    case 0:
    case 1:
      InsertWord(fs, Numbered("n", n), dir.File("d"));
      break;
    case 2:
      RemoveWord(fs, Numbered("n", n - 1), dir.File("d"), false);
      break;
    case 3:
      WriteDictionary(dir.File("source"), {Numbered("m", n), Numbered("k", n)});
      MergeWordList(fs, dir.File("d"), dir.File("source"));
      break;
  }
}

void ApplyToSet(int n, WordSet& words) {
  switch (n % 4) {
    case 0:
    case 1:
      words.insert(Numbered("n", n));
      break;
    case 2:
      words.erase(Numbered("n", n - 1));
      break;
    case 3:
      words.insert({Numbered("m", n), Numbered("k", n)});
      break;
  }
}

std::vector<std::string> InOrder(const WordSet& words) {
  std::vector<std::string> list(words.begin(), words.end());
  std::sort(list.begin(), list.end(),
            [](const auto& a, const auto& b) { return CompareText(a, b) < 0; });
  return list;
}

TEST(StoreCrashSafety, KilledWriterLeavesTheOldOrTheNewDictionaryWhole) {
  TempDir dir;
  WordSet words;
  for (const auto& word : NumberedWords(1000, "base")) words.insert(word);
  WriteDictionary(dir.File("d"), InOrder(words));

  std::mt19937 random(20261208);
  // Kills land anywhere in the first few changes; a slower machine (or a
  // memory checker) gets a longer window, so that changes do complete.
  int windowUs = 25000;
  int done = 0;  // changes known to be in the file
  int kills = 0;
  // At least 60 kills and 200 completed changes, however busy the machine is.
  for (int round = 0; round < 400 && (round < 60 || done < 200); ++round) {
    std::cout.flush();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        for (int n = done;; ++n) ApplyToFile(n, dir);
      } catch (...) {
        ::_exit(1);
      }
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, windowUs)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
    ++kills;

    // The file must be the state after some number of whole changes.
    ASSERT_TRUE(FileExists(dir.File("d")));
    const std::string bytes = ReadBytes(dir.File("d"));
    ASSERT_EQ(bytes.size() % RecordSize, 0u) << "a half-written record";
    const auto found = ReadDictionary(dir.File("d"));
    WordSet expected = words;
    int n = done;
    for (; n < done + 100000 && InOrder(expected) != found; ++n) ApplyToSet(n, expected);
    ASSERT_EQ(InOrder(expected), found) << "round " << round << ": no state of the series";
    // The change the writer was in may have been a merge whose source stays.
    if (n == done) windowUs = std::min(windowUs * 3 / 2, 2000000);
    if (n > done + 8) windowUs = std::max(windowUs / 2, 25000);
    words = expected;
    done = n;
  }
  // A killed writer cannot remove its unfinished new file; it never has the dictionary's name.
  int leftovers = 0;
  for (const auto& name : dir.Entries()) leftovers += name.rfind(".d.", 0) == 0 ? 1 : 0;
  std::cout << "[ figures  ] " << kills << " writers killed, " << done
            << " changes completed, 0 dictionaries damaged, " << leftovers
            << " unfinished new files left by killed writers\n";
}

}  // namespace
}  // namespace spellcheck::store
