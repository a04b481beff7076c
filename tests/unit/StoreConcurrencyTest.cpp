// Writers in several processes and threads on one dictionary lose no word:
// each waits for the others, and none works on a file that another replaced.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <thread>

#include "store/TvarWord.h"
#include "store/WordList.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Words = std::vector<std::string>;

std::string WordOf(int process, int thread, const char* kind, int n) {
  char text[32];
  std::snprintf(text, sizeof text, "p%dt%d%s%04d", process, thread, kind, n);
  return text;
}

std::string SharedWord(int n) {
  return "shared" + std::to_string(n);
}

// Runs `body(process, thread)` in `processes` children with `threads` threads
// each, and `watch(writing)` in a thread of this process until they are done;
// answers how many children failed. The watching thread starts only after the
// last fork, since a child forked while another thread holds a lock (of the
// memory allocator, say) would wait for it forever. Each child reports success
// through a pipe, since a memory checker may replace a child's exit status.
template <typename Body, typename Watch>
int RunWriters(int processes, int threads, Body body, Watch watch) {
  int ends[2];
  if (::pipe(ends) != 0) return processes;
  std::cout.flush();
  std::vector<pid_t> children;
  for (int p = 0; p < processes; ++p) {
    const pid_t child = ::fork();
    if (child < 0) break;
    if (child == 0) {
      std::atomic<bool> failed{false};
      std::vector<std::thread> workers;
      for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
          try {
            body(p, t);
          } catch (...) {
            failed = true;
          }
        });
      }
      for (auto& worker : workers) worker.join();
      const char ok = 1;
      if (!failed && ::write(ends[1], &ok, 1) != 1) ::_exit(2);
      ::_exit(failed ? 1 : 0);
    }
    children.push_back(child);
  }
  ::close(ends[1]);
  std::atomic<bool> writing{true};
  std::thread watcher([&] { watch(writing); });
  for (const pid_t child : children) ::waitpid(child, nullptr, 0);
  writing = false;
  watcher.join();
  int succeeded = 0;
  char ok = 0;
  while (::read(ends[0], &ok, 1) == 1) ++succeeded;
  ::close(ends[0]);
  return processes - succeeded;
}

Words Sorted(Words words) {
  std::sort(words.begin(), words.end(),
            [](const auto& a, const auto& b) { return CompareText(a, b) < 0; });
  return words;
}

// Every thread adds its own words and, in between, all shared ones.
void ExpectNoWordLost(int processes, int threads, int perThread, int shared) {
  TempDir dir;
  const std::string path = dir.File("d");
  const int failures = RunWriters(
      processes, threads,
      [&](int p, int t) {
        for (int i = 0; i < perThread; ++i) {
          InsertWord(Posix(), WordOf(p, t, "w", i), path);
          if (i % (perThread / shared + 1) == 0) InsertWord(Posix(), SharedWord(i % shared), path);
        }
        for (int i = 0; i < shared; ++i) InsertWord(Posix(), SharedWord(i), path);
      },
      [](const std::atomic<bool>&) {});
  EXPECT_EQ(failures, 0);

  Words expected;
  for (int p = 0; p < processes; ++p) {
    for (int t = 0; t < threads; ++t) {
      for (int i = 0; i < perThread; ++i) expected.push_back(WordOf(p, t, "w", i));
    }
  }
  for (int i = 0; i < shared; ++i) expected.push_back(SharedWord(i));
  const Words found = ReadDictionary(path);
  EXPECT_EQ(found.size(), expected.size());
  EXPECT_EQ(found, Sorted(expected)) << "words lost, doubled or out of order";
  EXPECT_EQ(dir.Entries(), Words{"d"}) << "files left beside the dictionary";
  std::cout << "[ figures  ] " << processes << " processes x " << threads << " threads x "
            << perThread << " words (+" << shared << " shared): " << found.size() << " of "
            << expected.size() << " words present\n";
}

TEST(StoreConcurrency, WritersInProcessesAndThreadsLoseNoWord) {
  ExpectNoWordLost(8, 2, 60, 10);
}

// The full load, on request (it takes some seconds per hundred words per writer).
TEST(StoreConcurrency, FullLoad) {
  const char* words = std::getenv("SPELLCHECK_FULL_LOAD");
  if (words == nullptr) GTEST_SKIP() << "set SPELLCHECK_FULL_LOAD to the words per thread";
  ExpectNoWordLost(8, 2, std::atoi(words), 20);
}

// Insertions, removals and merges at once, with a reader that must always
// find a word that no writer touches.
TEST(StoreConcurrency, MixedWritersAndAReaderSeeWholeFiles) {
  TempDir dir;
  const std::string path = dir.File("d");
  WriteDictionary(path, {"aaa-kept"});
  constexpr int processes = 4, threads = 2, rounds = 40;

  int misses = 0, lookups = 0;
  const auto reader = [&](const std::atomic<bool>& writing) {
    while (writing) {
      if (!FindWord(Posix(), "aaa-kept", path, false)) ++misses;
      ++lookups;
    }
  };
  const int failures = RunWriters(
      processes, threads,
      [&](int p, int t) {
        const std::string source =
            dir.File("source-" + std::to_string(p) + "-" + std::to_string(t));
        for (int i = 0; i < rounds; ++i) {
          InsertWord(Posix(), WordOf(p, t, "w", i), path);
          if (i % 3 == 0 && !RemoveWord(Posix(), WordOf(p, t, "w", i), path, false)) {
            throw std::runtime_error("not removed");
          }
          if (i % 5 == 0) {
            WriteDictionary(source, {WordOf(p, t, "m", i), WordOf(p, t, "w", i)});
            if (!MergeWordList(Posix(), path, source)) throw std::runtime_error("not merged");
          }
        }
      },
      reader);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(misses, 0) << "of " << lookups << " lookups";

  Words expected{"aaa-kept"};
  for (int p = 0; p < processes; ++p) {
    for (int t = 0; t < threads; ++t) {
      for (int i = 0; i < rounds; ++i) {
        if (i % 3 != 0) expected.push_back(WordOf(p, t, "w", i));
        if (i % 5 == 0) {
          expected.push_back(WordOf(p, t, "m", i));
          // The merge brings back a word removed just before.
          if (i % 3 == 0) expected.push_back(WordOf(p, t, "w", i));
        }
      }
    }
  }
  EXPECT_EQ(ReadDictionary(path), Sorted(expected));
  EXPECT_EQ(dir.Entries(), Words{"d"});
}

}  // namespace
}  // namespace spellcheck::store
