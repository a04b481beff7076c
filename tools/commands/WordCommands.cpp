// check and suggest: answers for words given on the command line.
#include <unistd.h>

#include "commands/Commands.h"
#include "errors/ToolError.h"
#include "input/TextCodec.h"
#include "output/Output.h"

namespace spellcheck::tool {

int RunCheck(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
             const std::vector<std::string>& words) {
  TextCodec codec(options.encoding);
  // A handful of words: each is looked up in the files, which are never read whole.
  engine::Speller speller = catalogue::MakeSpeller(fs, catalogue::ResolveDictionaries(options),
                                                   catalogue::Reading::EachLookup);
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

int RunSuggest(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
               const SuggestOptions& suggestions, const std::vector<std::string>& words) {
  TextCodec codec(options.encoding);
  // Suggestions read every word of a dictionary anyway: once, for all words.
  engine::Speller speller = catalogue::MakeSpeller(fs, catalogue::ResolveDictionaries(options),
                                                   catalogue::Reading::InMemory);
  Output out(STDOUT_FILENO, codec);
  for (const std::string& word : words) {
    const std::string utf8(codec.ToUtf8(word));
    out << utf8 << ":";
    const char* separator = " ";
    for (const std::string& suggestion :
         speller.Suggest(utf8, suggestions.Order(), suggestions.max)) {
      out << separator << suggestion;
      separator = ", ";
    }
    out << "\n";
  }
  out.Flush();
  return ExitOk;
}

}  // namespace spellcheck::tool
