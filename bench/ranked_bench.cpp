// The ranked suggestion engine on the bundled English dictionary (about 105k
// words): index build time and memory, and the time per misspelled word over
// varied misspellings made from dictionary words by random edits; and the
// same once on a million generated words.
//   bench_ranked [--dictionary=FILE.dic] [--levels=LEVELS.txt] [benchmark options]
// The dictionary defaults to ../share/spellcheck/english.dic beside the
// program's folder (the build tree's bundled dictionary).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "suggest/RankedIndex.h"
#include "suggest/WordLevels.h"
#include "support/GeneratedDictionary.h"

namespace {

using spellcheck::suggest::RankedIndex;
using spellcheck::suggest::WordLevels;
using Clock = std::chrono::steady_clock;

std::string g_dictionary;
std::string g_levelsFile;

struct Data {
  std::vector<std::string> words;
  WordLevels levels;
  bool haveLevels = false;
};

std::vector<std::string> ReadDictionary(const std::string& path) {
  std::vector<std::string> words;
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t at = 0; at + 25 <= bytes.size(); at += 25) {
    words.emplace_back(bytes, at + 1,
                       std::min<std::size_t>(24, static_cast<unsigned char>(bytes[at])));
  }
  return words;
}

const Data& TheData() {
  static const Data data = [] {
    Data d;
    d.words = ReadDictionary(g_dictionary);
    if (d.words.empty()) {
      std::cerr << "no dictionary at " << g_dictionary << "; using generated words\n";
      d.words = spellcheck::bench::GeneratedDictionary(105000).Words();
    }
    if (!g_levelsFile.empty()) d.haveLevels = d.levels.LoadFile(g_levelsFile);
    return d;
  }();
  return data;
}

const RankedIndex& TheIndex() {
  static const RankedIndex index(TheData().words,
                                 TheData().haveLevels ? &TheData().levels : nullptr);
  return index;
}

// Lower-case dictionary words with one or two random edits (deletion,
// insertion, replacement, swap of neighbours), none of them a stored word.
std::vector<std::string> Misspellings(std::size_t count) {
  const std::vector<std::string>& words = TheData().words;
  const std::unordered_set<std::string> stored(words.begin(), words.end());
  std::mt19937 random(2024);
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  std::vector<std::string> out;
  while (out.size() < count) {
    std::string w = words[pick(random)];
    if (w.size() < 3 ||
        !std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
      continue;
    const int edits = 1 + static_cast<int>(random() % 4 == 0);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % w.size();
      const char letter = static_cast<char>('a' + random() % 26);
      switch (random() % 4) {
        case 0:
          if (w.size() > 2) w.erase(at, 1);
          break;
        case 1:
          w.insert(at, 1, letter);
          break;
        case 2:
          w[at] = letter;
          break;
        default:
          if (at + 1 < w.size()) std::swap(w[at], w[at + 1]);
          break;
      }
    }
    if (!stored.count(w)) out.push_back(w);
  }
  return out;
}

void BM_Build(benchmark::State& state) {
  const Data& data = TheData();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const RankedIndex index(data.words, data.haveLevels ? &data.levels : nullptr);
    bytes = index.MemoryBytes();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["words"] = static_cast<double>(data.words.size());
  state.counters["index_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Build)->Unit(benchmark::kMillisecond);

// Every misspelling once per iteration; the counters give the distribution
// of single words over all iterations.
void BM_Suggest(benchmark::State& state) {
  const RankedIndex& index = TheIndex();
  const RankedIndex* const indexes[] = {&index};
  const std::vector<std::string> words = Misspellings(2000);
  std::vector<double> micros;
  for (auto _ : state) {
    for (const std::string& w : words) {
      const auto start = Clock::now();
      auto list = spellcheck::suggest::Suggest(w, indexes, 10);
      benchmark::DoNotOptimize(list);
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
  }
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
  state.SetItemsProcessed(static_cast<std::int64_t>(micros.size()));
}
BENCHMARK(BM_Suggest)->Unit(benchmark::kMillisecond)->Iterations(3);

// Scale: a million generated words (no levels), built once, and stored words
// with one letter changed.
void BM_GeneratedMillion(benchmark::State& state) {
  const spellcheck::bench::GeneratedDictionary dic(1000000);
  const auto start = Clock::now();
  const RankedIndex index(dic.Words(), nullptr);
  const double buildMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const RankedIndex* const indexes[] = {&index};
  const std::vector<std::string> words = dic.Misses(2000);
  std::vector<double> micros;
  for (auto _ : state) {
    for (const std::string& w : words) {
      const auto begin = Clock::now();
      auto list = spellcheck::suggest::Suggest(w, indexes, 10);
      benchmark::DoNotOptimize(list);
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
  }
  std::sort(micros.begin(), micros.end());
  state.counters["build_ms"] = buildMs;
  state.counters["index_MB"] = static_cast<double>(index.MemoryBytes()) / (1024.0 * 1024.0);
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}
BENCHMARK(BM_GeneratedMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  const std::string self = argv[0];
  const std::size_t slash = self.find_last_of("/\\");
  g_dictionary = (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) +
                 "/../share/spellcheck/english.dic";
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--dictionary=", 0) == 0) {
      g_dictionary = arg.substr(13);
    } else if (arg.rfind("--levels=", 0) == 0) {
      g_levelsFile = arg.substr(9);
    } else {
      rest.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
