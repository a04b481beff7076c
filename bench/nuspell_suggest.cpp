// Nuspell behind the ispell "-a" pipe, for the suggestion comparison: a
// banner line, then for each input line ("^word" or "word") "*" for a word
// it takes, "& word N 0: s1, s2, ..." or "# word 0" for one it does not, and
// an empty line, flushed. UTF-8 in and out.
//
// Usage: nuspell_suggest PATH/NAME.aff
#include <nuspell/dictionary.hxx>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: nuspell_suggest PATH/NAME.aff\n";
    return 2;
  }
  nuspell::Dictionary dictionary;
  try {
    dictionary.load_aff_dic(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "nuspell_suggest: " << e.what() << "\n";
    return 1;
  }
  std::cout << "@(#) nuspell_suggest\n" << std::flush;
  std::string line;
  std::vector<std::string> suggestions;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line[0] == '^') line.erase(0, 1);
    if (!line.empty()) {
      if (dictionary.spell(line)) {
        std::cout << "*\n";
      } else {
        dictionary.suggest(line, suggestions);
        if (suggestions.empty()) {
          std::cout << "# " << line << " 0\n";
        } else {
          std::cout << "& " << line << ' ' << suggestions.size() << " 0: ";
          for (std::size_t k = 0; k < suggestions.size(); ++k)
            std::cout << (k ? ", " : "") << suggestions[k];
          std::cout << '\n';
        }
      }
    }
    std::cout << '\n' << std::flush;
  }
  return 0;
}
