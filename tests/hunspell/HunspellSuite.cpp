// Runs hunspell's own dictionary test cases (a folder of NAME.aff/.dic with
// NAME.good, NAME.wrong and NAME.sug word files, listed in cases.txt)
// through the Hunspell engine and prints the cases that fail.
// Usage: hunspell_suite FOLDER [--min-good N] [--min-wrong N] [--min-sug N] [--verbose]
// Exits 77 (skipped) when the folder is absent, 1 when below a minimum.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "hunspell/Charset.h"
#include "hunspell/Dictionary.h"

namespace {

using spellcheck::hunspell::Dictionary;

bool ReadFile(const std::filesystem::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return true;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The words of a word file, as UTF-8.
std::vector<std::string> Words(const std::string& bytes, const std::string& encoding) {
  std::string text = bytes;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  if (!encoding.empty()) {
    spellcheck::hunspell::Charset charset;
    std::u32string decoded;
    if (charset.Select(encoding)) {
      charset.Decode(text, decoded);
      text = spellcheck::hunspell::ToUtf8(decoded);
    }
  }
  std::vector<std::string> words;
  for (const auto& line : Lines(text)) {
    std::istringstream fields(line);
    std::string w;
    while (fields >> w) words.push_back(w);
  }
  return words;
}

std::string Join(const std::vector<std::string>& items, const char* sep) {
  std::string out;
  for (const auto& s : items) out += (out.empty() ? "" : sep) + s;
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: hunspell_suite FOLDER [--min-good N] [--min-wrong N] [--min-sug N]\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];
  int minGood = 0, minWrong = 0, minSug = 0;
  bool verbose = false;
  std::string only;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--verbose")
      verbose = true;
    else if (i + 1 < argc && arg == "--min-good")
      minGood = std::atoi(argv[++i]);
    else if (i + 1 < argc && arg == "--min-wrong")
      minWrong = std::atoi(argv[++i]);
    else if (i + 1 < argc && arg == "--min-sug")
      minSug = std::atoi(argv[++i]);
    else if (i + 1 < argc && arg == "--case")
      only = argv[++i];
  }
  std::string list;
  if (!ReadFile(root / "cases.txt", list)) {
    std::cout << "hunspell test suite not found at " << root.string() << ": skipped\n";
    return 77;
  }
  int goodCases = 0, goodPass = 0, wrongCases = 0, wrongPass = 0, sugCases = 0, sugPass = 0;
  for (const auto& line : Lines(list)) {
    std::istringstream fields(line);
    std::string name, flag, encoding;
    if (!(fields >> name)) continue;
    if (fields >> flag && flag == "-i") fields >> encoding;
    if (!only.empty() && name != only) continue;
    const auto base = root / "cases" / name;
    std::string aff, dic;
    if (!ReadFile(base.string() + ".aff", aff) || !ReadFile(base.string() + ".dic", dic)) {
      std::cout << name << ": files missing\n";
      continue;
    }
    std::unique_ptr<Dictionary> d;
    std::vector<std::string> warnings;
    try {
      d = Dictionary::FromText(aff, dic, name + ".aff", name + ".dic", &warnings);
    } catch (const std::exception& e) {
      std::cout << name << ": load failed: " << e.what() << "\n";
    }
    if (verbose)
      for (const auto& w : warnings) std::cout << "  warning " << w << "\n";
    std::string bytes;
    if (ReadFile(base.string() + ".good", bytes)) {
      ++goodCases;
      std::vector<std::string> bad;
      for (const auto& w : Words(bytes, encoding))
        if (!d || !d->Check(w)) bad.push_back(w);
      if (bad.empty())
        ++goodPass;
      else
        std::cout << name << ".good rejected: " << Join(bad, " ") << "\n";
    }
    std::vector<std::string> wrongWords;
    if (ReadFile(base.string() + ".wrong", bytes)) {
      ++wrongCases;
      wrongWords = Words(bytes, encoding);
      std::vector<std::string> bad;
      for (const auto& w : wrongWords)
        if (!d || d->Check(w)) bad.push_back(w);
      if (bad.empty())
        ++wrongPass;
      else
        std::cout << name << ".wrong accepted: " << Join(bad, " ") << "\n";
    }
    if (ReadFile(base.string() + ".sug", bytes)) {
      ++sugCases;
      std::vector<std::string> expected, got;
      for (auto& l : Lines(bytes))
        if (!l.empty()) expected.push_back(l);
      if (d)
        for (const auto& w : wrongWords) {
          if (d->Check(w)) continue;
          const auto s = d->Suggest(w);
          if (!s.empty()) got.push_back(Join(s, ", "));
        }
      if (got == expected) {
        ++sugPass;
      } else if (verbose || !only.empty()) {
        std::cout << name << ".sug differs:\n  expected: " << Join(expected, " | ")
                  << "\n  got:      " << Join(got, " | ") << "\n";
      } else {
        std::cout << name << ".sug differs\n";
      }
    }
  }
  std::cout << "good: " << goodPass << "/" << goodCases << " cases, wrong: " << wrongPass << "/"
            << wrongCases << " cases, sug: " << sugPass << "/" << sugCases << " exact\n";
  return goodPass >= minGood && wrongPass >= minWrong && sugPass >= minSug ? 0 : 1;
}
