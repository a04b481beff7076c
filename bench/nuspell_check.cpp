// nuspell's judgement, for the speed comparison: loads one Hunspell
// dictionary, reads UTF-8 words one a line from standard input and prints the
// misspelled ones. Built by bench/hunspell-speed.sh on Debian's libnuspell-dev:
//
//   g++ -O2 -std=c++17 bench/nuspell_check.cpp $(pkg-config --cflags --libs nuspell)
//   nuspell_check /usr/share/hunspell/de_DE < words.txt
#include <nuspell/dictionary.hxx>

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: nuspell_check DICTIONARY (the path of NAME.aff, with or without .aff)\n";
    return 2;
  }
  std::filesystem::path aff = argv[1];
  if (aff.extension() != ".aff") aff += ".aff";
  nuspell::Dictionary dictionary;
  try {
    dictionary.load_aff_dic(aff);
  } catch (const std::exception& error) {
    std::cerr << "nuspell_check: " << aff.string() << ": " << error.what() << '\n';
    return 2;
  }
  std::ios::sync_with_stdio(false);
  std::string word;
  std::string misspelled;
  while (std::getline(std::cin, word)) {
    if (!word.empty() && word.back() == '\r') word.pop_back();
    if (word.empty() || dictionary.spell(word)) continue;
    misspelled += word;
    misspelled += '\n';
    if (misspelled.size() > (1 << 16)) {
      std::cout << misspelled;
      misspelled.clear();
    }
  }
  std::cout << misspelled;
  return 0;
}
