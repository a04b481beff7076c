// add, delete and merge: the library's maintenance operations on the
// dictionaries that the options choose.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <system_error>

#include "commands/Commands.h"
#include "text/Cp1252.h"
#include "output/Output.h"
#include "Speller.h"
#include "input/TextCodec.h"
#include "commands/ToolError.h"

namespace spellcheck::tool {
namespace {

constexpr std::size_t MaxStoredLength = 24;

// The word in code page 1252; a ToolError names what keeps it out of a dictionary.
std::string DictionaryForm(std::string_view utf8) {
  std::string word;
  if (utf8.empty()) throw ToolError("an empty word cannot be stored");
  if (!text::Utf8ToCp1252(utf8, word)) {
    throw ToolError(std::string(utf8) + ": has a character that code page 1252 cannot hold");
  }
  if (word.size() > MaxStoredLength) {
    throw ToolError(std::string(utf8) + ": longer than 24 characters");
  }
  return word;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

}  // namespace

int RunAdd(const DictionaryOptions& options, const std::vector<std::string>& words,
           const std::string& to) {
  TextCodec codec(options.encoding);
  const DictionarySet set = ResolveDictionaries(options);
  std::string target = to;
  if (target.empty()) {
    if (!set.custom) throw ToolError("no custom dictionary (--no-custom): name one with --to DIC");
    target = *set.custom;
    PrepareCustomFolder(set);
  }
  std::unique_ptr<TSpellerCheck> checker(CreateSpellerCheck());
  Output out(STDOUT_FILENO, codec);
  int status = ExitOk;
  for (const std::string& argument : words) {
    const std::string utf8(codec.ToUtf8(argument));
    std::string word;
    try {
      word = DictionaryForm(utf8);
    } catch (const ToolError& error) {
      out.Flush();
      std::cerr << "spellcheck: not added: " << error.what() << "\n";
      status = ExitFound;
      continue;
    }
    const bool added = checker->AddWord(word.c_str(), target.c_str());
    out << utf8 << (added ? ": added to " : ": already in ") << target << "\n";
  }
  out.Flush();
  return status;
}

int RunDelete(const DictionaryOptions& options, const std::vector<std::string>& words,
              const std::string& from, const std::optional<std::string>& also) {
  TextCodec codec(options.encoding);
  const DictionarySet set = ResolveDictionaries(options);
  const std::string first = from.empty() ? set.main : from;
  if (first.empty()) throw ToolError("no dictionary to delete from: name one with --from DIC");
  std::string second;
  if (also) {
    second = also->empty() ? set.custom.value_or(std::string()) : *also;
    if (second.empty()) throw ToolError("--also: no custom dictionary (--no-custom); name one");
  }
  std::unique_ptr<TSpellerCheck> checker(CreateSpellerCheck());
  Output out(STDOUT_FILENO, codec);
  int status = ExitOk;
  for (const std::string& argument : words) {
    const std::string utf8(codec.ToUtf8(argument));
    std::string word;
    if (!text::Utf8ToCp1252(utf8, word)) {
      out << utf8 << ": in no dictionary\n";
      status = ExitFound;
      continue;
    }
    const bool removed = checker->DeleteWord(word.c_str(), also.has_value(), set.ignoreCase,
                                             first.c_str(), also ? second.c_str() : DefaultDic);
    if (!removed) status = ExitFound;
    out << utf8 << (removed ? ": deleted\n" : ": not found\n");
  }
  out.Flush();
  return status;
}

int RunMerge(const DictionaryOptions& options, const std::string& source,
             const std::string& target) {
  const DictionarySet set = ResolveDictionaries(options);
  const std::string from = source.empty() ? set.custom.value_or(std::string()) : source;
  const std::string into = target.empty() ? set.main : target;
  if (from.empty()) throw ToolError("no custom dictionary to merge (--no-custom): name a SOURCE");
  if (into.empty()) throw ToolError("no main dictionary to merge into: name a TARGET");
  // Merging a file into itself would delete it after the merge.
  if (SameFile(from, into)) throw ToolError("cannot merge " + from + " into itself");
  std::unique_ptr<TSpellerCheck> checker(CreateSpellerCheck());
  if (!checker->MergeDictionary(from.c_str(), into.c_str())) {
    std::cerr << "spellcheck: nothing merged: " << from << " cannot be opened\n";
    return ExitFound;
  }
  std::cout << "merged " << from << " into " << into << "\n";
  return ExitOk;
}

}  // namespace spellcheck::tool
