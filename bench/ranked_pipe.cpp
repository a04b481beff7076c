// The ranked suggestions behind the ispell "-a" pipe protocol, so that the
// quality comparison can drive them like aspell and hunspell:
//   bench_ranked_pipe DICTIONARY.dic [LEVELS.txt]
// Each input line is one word in UTF-8 (a leading '^' is dropped). Answers:
// "*" for a stored word, "& WORD N 0: s1, s2, ..." or "# WORD 0", each
// followed by an empty line and flushed.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <unordered_set>
#include <vector>

#include "suggest/RankedIndex.h"
#include "suggest/WordLevels.h"
#include "text/CaseMapping.h"
#include "text/Cp1252.h"
#include "text/TextFunctions.h"

namespace {

constexpr std::size_t kRecord = 25;

bool ReadDictionary(const char* path, std::vector<std::string>& words) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t at = 0; at + kRecord <= bytes.size(); at += kRecord) {
    std::size_t length = static_cast<unsigned char>(bytes[at]);
    if (length > kRecord - 1) length = kRecord - 1;
    words.emplace_back(bytes, at + 1, length);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace spellcheck;
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: bench_ranked_pipe DICTIONARY.dic [LEVELS.txt]\n";
    return 2;
  }
  std::vector<std::string> words;
  if (!ReadDictionary(argv[1], words)) {
    std::cerr << "bench_ranked_pipe: cannot read " << argv[1] << "\n";
    return 1;
  }
  suggest::WordLevels levels;
  if (argc == 3 && !levels.LoadFile(argv[2])) {
    std::cerr << "bench_ranked_pipe: cannot read " << argv[2] << "\n";
    return 1;
  }
  const suggest::RankedIndex index(words, argc == 3 ? &levels : nullptr);
  // Taken as correct: a stored word, also with a capital first letter (at the
  // start of a sentence) or in capitals.
  std::unordered_set<std::string> stored(words.begin(), words.end());
  for (const std::string& w : words) {
    stored.insert(text::CapitalizeFirst(w));
    std::string upper = w;
    for (char& c : upper) c = static_cast<char>(text::Cp1252Upper(static_cast<unsigned char>(c)));
    stored.insert(upper);
  }
  const suggest::RankedIndex* const indexes[] = {&index};

  std::cout << "@(#) International Ispell Version 3.2.06 (but really ranked)\n" << std::flush;
  std::string line, word;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '^') line.erase(0, 1);
    if (line.empty()) {
      std::cout << "\n" << std::flush;
      continue;
    }
    if (!text::Utf8ToCp1252(line, word)) {
      std::cout << "# " << line << " 0\n\n" << std::flush;
      continue;
    }
    if (stored.count(word)) {
      std::cout << "*\n\n" << std::flush;
      continue;
    }
    const std::vector<std::string> list = suggest::Suggest(word, indexes, 10);
    if (list.empty()) {
      std::cout << "# " << line << " 0\n";
    } else {
      std::cout << "& " << line << ' ' << list.size() << " 0:";
      for (std::size_t k = 0; k < list.size(); ++k) {
        std::cout << (k ? ", " : " ") << text::Cp1252ToUtf8(list[k]);
      }
      std::cout << "\n";
    }
    std::cout << "\n" << std::flush;
  }
  return 0;
}
