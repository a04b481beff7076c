// The host interface's CheckWord as a host sees it: the library loaded at run
// time with dlopen, one checker from CreateSpellerCheck, a generated
// 100,000-word dictionary file as its main dictionary. Times calls on
// thousands of different words, present and absent, in lower case and
// capitalised, and prints each kind's median time per call over the rounds.
//
// Usage: bench_host_checkword [LIBRARY] [ROUNDS] [WORDS]
//   LIBRARY  the shared library (default: the one this build makes)
//   ROUNDS   timed rounds per kind (default 7)
//   WORDS    different words per kind (default 5000)
#include <dlfcn.h>
#include <spellcheck/SpellCheck.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/GeneratedDictionary.h"

namespace {

using spellcheck::DefaultDic;
using spellcheck::bench::GeneratedDictionary;
using Clock = std::chrono::steady_clock;

#define MARKERS10                                                                                 \
  DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, \
      DefaultDic, DefaultDic

struct Kind {
  const char* name;
  std::vector<std::string> words;
  bool expected;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Nanoseconds(Clock::duration d) {
  return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SPELLCHECK_DEFAULT_LIBRARY
  const char* library = argc > 1 ? argv[1] : SPELLCHECK_DEFAULT_LIBRARY;
#else
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_host_checkword LIBRARY [ROUNDS] [WORDS]\n");
    return 2;
  }
  const char* library = argv[1];
#endif
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  const std::size_t count = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5000;
  constexpr std::size_t kDictionaryWords = 100000;

  // Absolute, so that the working folder below does not change which library is loaded.
  const std::string path = std::filesystem::absolute(library).string();
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::fprintf(stderr, "bench_host_checkword: %s\n", ::dlerror());
    return 2;
  }
  auto create = reinterpret_cast<spellcheck::CreateSpellerCheckFunction>(
      ::dlsym(handle, "CreateSpellerCheck"));
  if (create == nullptr) {
    std::fprintf(stderr, "bench_host_checkword: no CreateSpellerCheck in %s\n", path.c_str());
    return 2;
  }

  GeneratedDictionary dictionary(kDictionaryWords);
  // Work beside the dictionary, so that the default custom dictionary
  // (cust.dic) never names a file of the caller's folder.
  const std::string folder = std::filesystem::path(dictionary.Path()).parent_path().string();
  if (::chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "bench_host_checkword: cannot work in %s\n", folder.c_str());
    return 2;
  }
  std::vector<Kind> kinds = {
      {"lower, present", dictionary.Hits(count), true},
      {"lower, absent", dictionary.Misses(count), false},
      {"capitalised, present", GeneratedDictionary::Capitalised(dictionary.Hits(count)), true},
      {"capitalised, absent", GeneratedDictionary::Capitalised(dictionary.Misses(count)), false},
  };

  spellcheck::TSpellerCheck* checker = create();
  checker->SetMainDic(dictionary.Path().c_str());
  auto check = [&](const std::string& word) {
    return checker->CheckWord(word.c_str(), false, false, DefaultDic, MARKERS10);
  };

  // The first call of a new checker, and the second, apart: they may read the file.
  const auto t0 = Clock::now();
  const bool first = check(kinds[0].words[0]);
  const auto t1 = Clock::now();
  const bool second = check(kinds[0].words[1]);
  const auto t2 = Clock::now();
  if (!first || !second) {
    std::fprintf(stderr, "bench_host_checkword: a stored word was not found\n");
    return 1;
  }

  std::printf("CheckWord through dlopen of %s\n", path.c_str());
  std::printf(
      "main dictionary: %zu generated words (%s), %zu different words per kind, "
      "median of %d rounds\n",
      kDictionaryWords, dictionary.Path().c_str(), count, rounds);
  std::printf("first call %.1f us, second call %.1f us\n\n", Nanoseconds(t1 - t0) / 1000,
              Nanoseconds(t2 - t1) / 1000);
  std::printf("%-22s %14s %12s %12s\n", "words", "median ns/call", "fastest", "slowest");
  std::vector<double> all;
  int wrong = 0;
  for (const Kind& kind : kinds) {
    std::vector<double> perCall;
    for (int round = 0; round < rounds; ++round) {
      const auto start = Clock::now();
      for (const std::string& word : kind.words) wrong += check(word) != kind.expected;
      perCall.push_back(Nanoseconds(Clock::now() - start) / static_cast<double>(count));
    }
    all.insert(all.end(), perCall.begin(), perCall.end());
    std::printf("%-22s %14.0f %12.0f %12.0f\n", kind.name, Median(perCall),
                *std::min_element(perCall.begin(), perCall.end()),
                *std::max_element(perCall.begin(), perCall.end()));
  }
  const double overall = Median(all);
  std::printf("%-22s %14.0f\n\n", "all kinds", overall);
  std::printf("goal: under 5000 ns per call: %s\n", overall < 5000 ? "met" : "MISSED");
  delete checker;
  if (wrong != 0) {
    std::fprintf(stderr, "bench_host_checkword: %d wrong answers\n", wrong);
    return 1;
  }
  return 0;
}
