// Makes one vocabulary's word list (UTF-8, one word a line, sorted, each word
// once) from word lists in the plain format of cspell's dictionary packages or
// SCOWL's: `#` comments, blank lines, several words on a line. The tool's own
// build command then makes the dictionary of it.
//
// Usage: make_vocabulary [--lower] OUTPUT LIST...
//   --lower  words in lower case (ASCII letters): a list whose words count
//            in any case, as the tool looks them up
//
// Of cspell's markers, `*` and `+` (where a word may join others) and `~` (any
// case) are dropped from the word; a line starting with `!` names a word that
// is not to be accepted, and is left out. Lines that are not UTF-8 are read as
// ISO-8859-1 (SCOWL as it comes from upstream). Words that a dictionary record
// cannot hold (longer than 24 bytes in code page 1252, or with characters it
// lacks) and tokens without a letter are left out.
#include <cctype>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "store/TvarWord.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"

namespace {

std::string AsUtf8(const std::string& line) {
  if (spellcheck::text::IsValidUtf8(line)) return line;
  std::string out;
  for (const unsigned char c : line) spellcheck::text::AppendUtf8(out, c);
  return out;
}

// The word of a token, without cspell's markers; empty when none.
std::string WordOf(std::string_view token) {
  while (!token.empty() && (token.front() == '*' || token.front() == '+' || token.front() == '~'))
    token.remove_prefix(1);
  while (!token.empty() && (token.back() == '*' || token.back() == '+')) token.remove_suffix(1);
  bool letter = false;
  for (const unsigned char c : token) {
    if (std::isalpha(c) || c >= 0x80) letter = true;
  }
  if (!letter) return {};
  std::string cp1252;
  if (!spellcheck::text::Utf8ToCp1252(token, cp1252)) return {};
  if (cp1252.size() > spellcheck::store::MaxWordLength) return {};
  return std::string(token);
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool lower = argc > 1 && std::string_view(argv[1]) == "--lower";
  if (lower) ++first;
  if (argc - first < 2) {
    std::cerr << "usage: make_vocabulary [--lower] OUTPUT LIST...\n";
    return 2;
  }
  std::set<std::string> words;
  for (int i = first + 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::cerr << "make_vocabulary: cannot read " << argv[i] << "\n";
      return 1;
    }
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t start = line.find_first_not_of(" \t");
      if (start == std::string::npos || line[start] == '#' || line[start] == '!') continue;
      std::istringstream tokens(AsUtf8(line));
      std::string token;
      while (tokens >> token) {
        std::string word = WordOf(token);
        if (lower) {
          for (char& c : word) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
          }
        }
        if (!word.empty()) words.insert(std::move(word));
      }
    }
  }
  std::ofstream out(argv[first], std::ios::binary | std::ios::trunc);
  for (const std::string& word : words) out << word << '\n';
  out.close();
  if (!out) {
    std::cerr << "make_vocabulary: cannot write " << argv[first] << "\n";
    return 1;
  }
  return 0;
}
