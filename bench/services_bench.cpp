// The checker's spelling services on generated dictionaries of 10k, 100k and
// 1M words, with the files in the page cache. Medians:
//   bench_services --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spellcheck/SpellCheck.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "checker/SpellerCheck.h"
#include "store/FileSystem.h"
#include "support/GeneratedDictionary.h"

namespace {

using spellcheck::DefaultDic;
using spellcheck::bench::GeneratedDictionary;

#define MARKERS10                                                                                 \
  DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, \
      DefaultDic, DefaultDic

const GeneratedDictionary& Dictionary(std::size_t words) {
  static std::map<std::size_t, std::unique_ptr<GeneratedDictionary>> made;
  auto& slot = made[words];
  if (!slot) slot = std::make_unique<GeneratedDictionary>(words);
  return *slot;
}

enum Kind { LowerHit, LowerMiss, CapitalHit, CapitalMiss };

std::vector<std::string> Sample(const GeneratedDictionary& dic, Kind kind) {
  constexpr std::size_t n = 1000;
  switch (kind) {
    case LowerHit:
      return dic.Hits(n);
    case LowerMiss:
      return dic.Misses(n);
    case CapitalHit:
      return GeneratedDictionary::Capitalised(dic.Hits(n));
    case CapitalMiss:
      return GeneratedDictionary::Capitalised(dic.Misses(n));
  }
  return {};
}

const char* KindName(Kind kind) {
  static const char* names[] = {"lower hit", "lower miss", "capitalised hit", "capitalised miss"};
  return names[kind];
}

// Slot 4 through the checker object: a file opened per lookup.
void BM_CheckWord(benchmark::State& state) {
  const auto& dic = Dictionary(static_cast<std::size_t>(state.range(0)));
  const auto kind = static_cast<Kind>(state.range(1));
  const auto words = Sample(dic, kind);
  std::unique_ptr<spellcheck::TSpellerCheck> checker(CreateSpellerCheck());
  checker->SetMainDic(dic.Path().c_str());
  std::size_t i = 0;
  bool expected = kind == LowerHit || kind == CapitalHit;
  for (auto _ : state) {
    const bool found = checker->CheckWord(words[i].c_str(), false, false, DefaultDic, MARKERS10);
    if (found != expected) state.SkipWithError("wrong answer");
    if (++i == words.size()) i = 0;
  }
  state.SetLabel(KindName(kind));
}
BENCHMARK(BM_CheckWord)
    ->ArgsProduct({{10000, 100000, 1000000}, {LowerHit, LowerMiss, CapitalHit, CapitalMiss}})
    ->Unit(benchmark::kMicrosecond);

// The floor of that design, with raw system calls: open, the record count,
// one positioned read per probe of the same binary search, close.
bool RawLookup(const std::string& path, const std::string& word) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  ::fstat(fd, &st);
  long long low = 0, high = st.st_size / 25 - 1;
  bool found = false;
  do {
    const long long middle = low + (high - low) / 2;
    unsigned char record[25];
    if (::pread(fd, record, 25, middle * 25) != 25) break;
    const std::size_t n = record[0] > 24 ? 24 : record[0];
    const std::size_t common = std::min(n, word.size());
    int order = std::memcmp(record + 1, word.data(), common);
    if (order == 0) order = n == word.size() ? 0 : (n < word.size() ? -1 : 1);
    if (order == 0) {
      found = true;
    } else if (order > 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  } while (!found && high >= low);
  ::close(fd);
  return found;
}

void BM_CheckWordFloor(benchmark::State& state) {
  const auto& dic = Dictionary(static_cast<std::size_t>(state.range(0)));
  const auto kind = static_cast<Kind>(state.range(1));
  const auto words = Sample(dic, kind);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RawLookup(dic.Path(), words[i]));
    if (++i == words.size()) i = 0;
  }
  state.SetLabel(KindName(kind));
}
BENCHMARK(BM_CheckWordFloor)
    ->ArgsProduct({{10000, 100000, 1000000}, {LowerHit, LowerMiss}})
    ->Unit(benchmark::kMicrosecond);

// Asks `checker` for suggestions for the sample's words in turn.
void SuggestInTurn(benchmark::State& state, spellcheck::TSpellerCheck& checker,
                   const std::vector<std::string>& words, Kind kind) {
  std::size_t i = 0;
  std::size_t suggested = 0;
  for (auto _ : state) {
    const char* list = checker.SuggestWords(words[i].c_str(), false, false, DefaultDic, MARKERS10);
    suggested += std::strlen(list);
    if (++i == words.size()) i = 0;
  }
  benchmark::DoNotOptimize(suggested);
  state.SetLabel(KindName(kind));
}

// Slot 5 through the checker object, main dictionary only: one full scan.
void BM_SuggestWords(benchmark::State& state) {
  const auto& dic = Dictionary(static_cast<std::size_t>(state.range(0)));
  const auto kind = static_cast<Kind>(state.range(1));
  const auto words = Sample(dic, kind);
  std::unique_ptr<spellcheck::TSpellerCheck> checker(CreateSpellerCheck());
  checker->SetMainDic(dic.Path().c_str());
  SuggestInTurn(state, *checker, words, kind);
}
BENCHMARK(BM_SuggestWords)
    ->ArgsProduct({{10000, 100000, 1000000}, {LowerMiss, CapitalMiss}})
    ->Unit(benchmark::kMicrosecond);

// Slot 4 in a batch session: the dictionary stays in memory; its identity and
// time stamp are looked at (one stat) per call.
// Checks the sample's words in turn through a session that looks at a file
// again after `recheckAfter` (zero: before every use).
void RunBatchCheckWord(benchmark::State& state, std::chrono::nanoseconds recheckAfter) {
  const auto& dic = Dictionary(static_cast<std::size_t>(state.range(0)));
  const auto kind = static_cast<Kind>(state.range(1));
  const auto words = Sample(dic, kind);
  auto session =
      spellcheck::CreateBatchSession(spellcheck::store::FileSystem::Default(), recheckAfter);
  session->SetMainDic(dic.Path().c_str());
  session->CheckWord("warm", false, false, DefaultDic, MARKERS10);  // reads the file
  std::size_t i = 0;
  const bool expected = kind == LowerHit || kind == CapitalHit;
  for (auto _ : state) {
    const bool found = session->CheckWord(words[i].c_str(), false, false, DefaultDic, MARKERS10);
    if (found != expected) state.SkipWithError("wrong answer");
    if (++i == words.size()) i = 0;
  }
  state.SetLabel(KindName(kind));
}

void BM_BatchCheckWord(benchmark::State& state) {
  RunBatchCheckWord(state, std::chrono::nanoseconds::zero());
}
BENCHMARK(BM_BatchCheckWord)
    ->ArgsProduct({{10000, 100000, 1000000}, {LowerHit, LowerMiss, CapitalHit, CapitalMiss}})
    ->Unit(benchmark::kNanosecond);

// The same with the session told to look at a file at most every 100 ms.
void BM_BatchCheckWordRecheck100ms(benchmark::State& state) {
  RunBatchCheckWord(state, std::chrono::milliseconds(100));
}
BENCHMARK(BM_BatchCheckWordRecheck100ms)
    ->ArgsProduct({{10000, 100000, 1000000}, {LowerHit, LowerMiss, CapitalHit, CapitalMiss}})
    ->Unit(benchmark::kNanosecond);

// The first use of a dictionary in a session: the whole file is read and
// indexed once.
void BM_BatchFirstUse(benchmark::State& state) {
  const auto& dic = Dictionary(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    auto session = spellcheck::CreateBatchSession();
    session->SetMainDic(dic.Path().c_str());
    benchmark::DoNotOptimize(session->CheckWord("warm", false, false, DefaultDic, MARKERS10));
  }
}
BENCHMARK(BM_BatchFirstUse)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What the per-call look at the file costs by itself.
void BM_FileInfoByName(benchmark::State& state) {
  const auto& dic = Dictionary(100000);
  auto& fs = spellcheck::store::FileSystem::Default();
  spellcheck::store::FileInfo info;
  for (auto _ : state) benchmark::DoNotOptimize(fs.Info(dic.Path(), info));
}
BENCHMARK(BM_FileInfoByName)->Unit(benchmark::kNanosecond);

// Slot 5 in a batch session, main dictionary only.
void BM_BatchSuggestWords(benchmark::State& state) {
  const auto& dic = Dictionary(static_cast<std::size_t>(state.range(0)));
  const auto kind = static_cast<Kind>(state.range(1));
  const auto words = Sample(dic, kind);
  auto session = spellcheck::CreateBatchSession();
  session->SetMainDic(dic.Path().c_str());
  session->CheckWord("warm", false, false, DefaultDic, MARKERS10);
  SuggestInTurn(state, *session, words, kind);
}
BENCHMARK(BM_BatchSuggestWords)
    ->ArgsProduct({{10000, 100000, 1000000}, {LowerMiss, CapitalMiss}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
