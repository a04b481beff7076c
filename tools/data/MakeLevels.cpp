// Makes the commonness levels of the bundled dictionary from SCOWL word
// lists: each list's name ends in its size (english-words.10, ...; a smaller
// size holds commoner words), and each word gets the smallest size of a list
// that holds it. Writes "LEVEL<TAB>WORD" lines in code page 1252, sorted by
// the word's bytes, and tells how many words each level got.
//
// Usage: make_levels [--only WORDS] OUTPUT LIST...
//   --only WORDS  keep only the words of this word list (the one the bundled
//                 dictionary is built from)
//
// Lists may be UTF-8 (Debian's scowl package) or ISO-8859-1 (SCOWL as it
// comes from upstream). Words that a dictionary record cannot hold (longer
// than 24 bytes in code page 1252, or with characters it lacks) are left out.
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "store/TvarWord.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"

namespace {

constexpr std::size_t kMaxWordBytes = spellcheck::store::MaxWordLength;

// The size at the end of a list's name, or -1.
int LevelOfListName(std::string_view name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return -1;
  int level = 0;
  for (const char c : name.substr(dot + 1)) {
    if (c < '0' || c > '9') return -1;
    level = level * 10 + (c - '0');
  }
  return level;
}

// The code page 1252 form of a line of a list, or "" when a record cannot
// hold it. A line that is not UTF-8 is taken as ISO-8859-1.
std::string RecordWord(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::string word;
  if (spellcheck::text::IsValidUtf8(line)) {
    if (!spellcheck::text::Utf8ToCp1252(line, word)) return "";
  } else {
    word = line;
    for (const char c : word) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80 && byte <= 0x9F) return "";  // no letter in ISO-8859-1
    }
  }
  if (word.size() > kMaxWordBytes) return "";
  for (const char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return "";
  }
  return word;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  std::set<std::string> only;
  if (argc > 2 && std::string_view(argv[1]) == "--only") {
    std::ifstream words(argv[2], std::ios::binary);
    if (!words) {
      std::cerr << "make_levels: cannot read " << argv[2] << "\n";
      return 1;
    }
    for (std::string line; std::getline(words, line);) {
      const std::string word = RecordWord(line);
      if (!word.empty()) only.insert(word);
    }
    first = 3;
  }
  if (argc < first + 2) {
    std::cerr << "usage: make_levels [--only WORDS] OUTPUT LIST...\n";
    return 2;
  }

  // std::string orders by unsigned bytes, the order the file is sorted in.
  std::map<std::string, int> levels;
  std::size_t left_out = 0;
  for (int i = first + 1; i < argc; ++i) {
    const int level = LevelOfListName(argv[i]);
    if (level < 0) {
      std::cerr << "make_levels: " << argv[i] << ": the name does not end in a size\n";
      return 2;
    }
    std::ifstream list(argv[i], std::ios::binary);
    if (!list) {
      std::cerr << "make_levels: cannot read " << argv[i] << "\n";
      return 1;
    }
    for (std::string line; std::getline(list, line);) {
      const std::string word = RecordWord(line);
      if (word.empty() || (!only.empty() && !only.count(word))) {
        left_out += !line.empty();
        continue;
      }
      const auto [at, added] = levels.emplace(word, level);
      if (!added && level < at->second) at->second = level;
    }
  }

  const char* output = argv[first];
  std::ofstream out(output, std::ios::binary);
  std::map<int, std::size_t> per_level;
  for (const auto& [word, level] : levels) {
    out << level << '\t' << word << '\n';
    ++per_level[level];
  }
  out.close();
  if (!out) {
    std::cerr << "make_levels: cannot write " << output << "\n";
    return 1;
  }
  std::cout << "make_levels: " << levels.size() << " words";
  if (!only.empty()) std::cout << " of the " << only.size() << " in " << argv[2];
  std::cout << " (level: words";
  for (const auto& [level, count] : per_level) std::cout << ", " << level << ": " << count;
  std::cout << "); " << left_out << " list lines left out\n";
  return 0;
}
