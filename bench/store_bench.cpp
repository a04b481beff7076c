// Costs of the store's changing operations on a dictionary of 100,000 words.
// Medians:
//   bench_store --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "store/FileSystem.h"
#include "store/RecordFile.h"
#include "store/WordList.h"
#include "support/GeneratedDictionary.h"

namespace {

using namespace spellcheck;
using Clock = std::chrono::steady_clock;

constexpr std::size_t DictionaryWords = 100000;

const bench::GeneratedDictionary& Dictionary() {
  static const bench::GeneratedDictionary dictionary(DictionaryWords);
  return dictionary;
}

// Words that the dictionary does not hold: stored words with a suffix that
// no generated word has.
std::vector<std::string> NewWords(std::size_t count) {
  const auto& words = Dictionary().Words();
  std::vector<std::string> fresh;
  for (std::size_t i = 0; i < count; ++i) {
    fresh.push_back(words[(i * 7919) % words.size()].substr(0, 20) + "Q" + std::to_string(i % 10));
  }
  return fresh;
}

// A working copy of the dictionary, written afresh before each measured call.
std::string WorkingCopy() {
  return Dictionary().Path() + ".work";
}
void ResetWorkingCopy() {
  bench::WriteWordList(WorkingCopy(), Dictionary().Words());
}

// Times `call` alone; the working copy (and whatever `prepare` makes) is
// written before each call, outside the time.
template <typename Call, typename Prepare>
void Measure(benchmark::State& state, Call&& call, Prepare&& prepare) {
  for (auto _ : state) {
    state.PauseTiming();
    ResetWorkingCopy();
    prepare();
    state.ResumeTiming();
    const auto start = Clock::now();
    call();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  static_cast<void>(store::FileSystem::Default().Delete(WorkingCopy()));
}

template <typename Call>
void Measure(benchmark::State& state, Call&& call) {
  Measure(state, call, [] {});
}

void BM_MergeTenThousandNewWords(benchmark::State& state) {
  const std::string source = Dictionary().Path() + ".source";
  const auto fresh = NewWords(10000);
  // The merge deletes its source, so the source is written again for each call.
  Measure(
      state, [&] { store::MergeWordList(store::FileSystem::Default(), WorkingCopy(), source); },
      [&] { bench::WriteWordList(source, fresh); });
}
BENCHMARK(BM_MergeTenThousandNewWords)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_InsertOneWord(benchmark::State& state) {
  const std::string word = NewWords(1).front();
  Measure(state, [&] { store::InsertWord(store::FileSystem::Default(), word, WorkingCopy()); });
}
BENCHMARK(BM_InsertOneWord)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RemoveOneWord(benchmark::State& state) {
  const std::string word = Dictionary().Words()[DictionaryWords / 3];
  Measure(state,
          [&] { store::RemoveWord(store::FileSystem::Default(), word, WorkingCopy(), false); });
}
BENCHMARK(BM_RemoveOneWord)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of any change: read the whole file once, write it once to a new
// file and sync that file.
void BM_ReadWriteSyncOnce(benchmark::State& state) {
  auto& fs = store::FileSystem::Default();
  const std::string copy = WorkingCopy() + ".copy";
  Measure(state, [&] {
    store::RecordFile in(fs);
    std::vector<store::TvarWord> records;
    store::Check(in.OpenExisting(WorkingCopy(), store::Access::Read));
    store::Check(in.ReadAll(records));
    store::Check(in.Close());
    store::RecordFile out(fs);
    store::Check(out.Create(copy));
    store::Check(out.WriteAll(records));
    store::Check(out.Sync());
    store::Check(out.Close());
  });
  static_cast<void>(fs.Delete(copy));
}
BENCHMARK(BM_ReadWriteSyncOnce)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
