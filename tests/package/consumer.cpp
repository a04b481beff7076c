// A program built against the installed package (find_package(spellcheck) in
// consumer/CMakeLists.txt, or pkg-config): it makes a checker with
// CreateSpellerCheck, checks a word it holds and one it lacks, and asks for
// suggestions. Usage: consumer DICTIONARY
#include <spellcheck/SpellCheck.h>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: consumer DICTIONARY\n");
    return 2;
  }
  using spellcheck::DefaultDic;
  std::unique_ptr<spellcheck::TSpellerCheck> checker(CreateSpellerCheck());
  checker->SetMainDic(argv[1]);
  const auto check = [&](const char* word) {
    return checker->CheckWord(word, false, false, DefaultDic, DefaultDic, DefaultDic, DefaultDic,
                              DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic,
                              DefaultDic, DefaultDic);
  };
  const bool house = check("house");
  const bool recieve = check("recieve");
  const char* similar = checker->SuggestWords(
      "hous", false, false, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic,
      DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic);
  std::printf("house: %s\nrecieve: %s\nhous: %s\n", house ? "correct" : "misspelled",
              recieve ? "correct" : "misspelled", similar);
  try {
    checker->AddWord("word", "/no/such/folder/x.dic");
    std::printf("no error for a missing folder\n");
    return 1;
  } catch (const spellcheck::EInOutError& error) {
    std::printf("error %d: %s\n", error.ErrorCode, error.what());
  }
  return house && !recieve && std::strstr(similar, "house") != nullptr ? 0 : 1;
}
