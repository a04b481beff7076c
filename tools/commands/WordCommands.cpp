// check and suggest: answers for words given on the command line.
#include <unistd.h>

#include "commands/Commands.h"
#include "output/Output.h"
#include "Speller.h"
#include "input/TextCodec.h"
#include "commands/ToolError.h"

namespace spellcheck::tool {
namespace {

Speller MakeSpeller(const DictionaryOptions& options) {
  DictionarySet set = ResolveDictionaries(options);
  RequireReadable(set.main, "main");
  return Speller(CreateRunChecker(), std::move(set));
}

}  // namespace

int RunCheck(const DictionaryOptions& options, const std::vector<std::string>& words) {
  TextCodec codec(options.encoding);
  Speller speller = MakeSpeller(options);
  Output out(STDOUT_FILENO, codec);
  int status = ExitOk;
  for (const std::string& word : words) {
    const std::string utf8(codec.ToUtf8(word));
    const bool correct = speller.IsCorrect(utf8);
    if (!correct) status = ExitFound;
    out << utf8 << (correct ? ": correct\n" : ": misspelled\n");
  }
  out.Flush();
  return status;
}

int RunSuggest(const DictionaryOptions& options, const std::vector<std::string>& words) {
  TextCodec codec(options.encoding);
  Speller speller = MakeSpeller(options);
  Output out(STDOUT_FILENO, codec);
  for (const std::string& word : words) {
    const std::string utf8(codec.ToUtf8(word));
    out << utf8 << ":";
    const char* separator = " ";
    for (const std::string& suggestion : speller.Suggest(utf8)) {
      out << separator << suggestion;
      separator = ", ";
    }
    out << "\n";
  }
  out.Flush();
  return ExitOk;
}

}  // namespace spellcheck::tool
