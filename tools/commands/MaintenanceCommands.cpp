// add, delete and merge: the library's maintenance operations on the
// dictionaries that the options choose.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "commands/Commands.h"
#include "engine/Engine.h"
#include "engine/PersonalWords.h"
#include "errors/ToolError.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "store/TvarWord.h"
#include "store/WordList.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"

namespace spellcheck::tool {
namespace {

// The word in code page 1252; a ToolError names what keeps it out of a
// dictionary. Empty when it can only go to a personal word list (a character
// outside code page 1252, more than 24 characters) and `personal` allows it.
std::string DictionaryForm(std::string_view utf8, bool personal) {
  std::string word;
  if (utf8.empty()) throw ToolError("an empty word cannot be stored");
  if (!text::IsValidUtf8(utf8)) throw ToolError(std::string(utf8) + ": not UTF-8");
  if (!text::Utf8ToCp1252(utf8, word)) {
    if (personal) return std::string();
    throw ToolError(std::string(utf8) + ": has a character that code page 1252 cannot hold");
  }
  if (word.size() > store::MaxWordLength) {
    if (personal) return std::string();
    throw ToolError(std::string(utf8) + ": longer than 24 characters");
  }
  return word;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

// Changes go straight to the files, through the store.
engine::Engine FileEngine(store::FileSystem& fs) {
  return engine::Engine(fs, engine::ReadEachCall(fs));
}

}  // namespace

int RunAdd(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
           const std::vector<std::string>& words, const std::string& to) {
  TextCodec codec(options.encoding);
  const catalogue::RunDictionaries dictionaries = catalogue::ResolveDictionaries(options);
  std::string target = to;
  // The custom dictionary's own words that its records cannot hold go to the
  // personal word list beside it; a dictionary named with --to takes records only.
  const bool toCustom = target.empty();
  if (target.empty()) {
    if (!dictionaries.set.custom) {
      throw ToolError("no custom dictionary (--no-custom): name one with --to DIC");
    }
    target = *dictionaries.set.custom;
    catalogue::PrepareCustomFolder(dictionaries);
  }
  engine::Engine engine = FileEngine(fs);
  Output out(STDOUT_FILENO, codec);
  int status = ExitOk;
  for (const std::string& argument : words) {
    const std::string utf8(codec.ToUtf8(argument));
    std::string word;
    try {
      word = DictionaryForm(utf8, toCustom);
    } catch (const ToolError& error) {
      out.Flush();
      std::cerr << "spellcheck: not added: " << error.what() << "\n";
      status = ExitFound;
      continue;
    }
    if (word.empty()) {
      engine::PersonalWords personal(fs, engine::PersonalWords::FileFor(target));
      const bool added = personal.Add(utf8);
      out << utf8 << (added ? ": added to " : ": already in ") << personal.File() << "\n";
      continue;
    }
    const bool added = engine.Add(word, target);
    out << utf8 << (added ? ": added to " : ": already in ") << target << "\n";
  }
  out.Flush();
  return status;
}

int RunDelete(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
              const std::vector<std::string>& words, const std::string& from,
              const std::optional<std::string>& also) {
  TextCodec codec(options.encoding);
  const engine::DictionarySet set = catalogue::ResolveDictionaries(options).set;
  // A Hunspell dictionary is never changed: without a main word list the
  // user's own words are what can be deleted.
  const std::string first = !from.empty()         ? from
                            : !set.Main().empty() ? set.Main()
                                                  : set.custom.value_or(std::string());
  if (first.empty()) throw ToolError("no dictionary to delete from: name one with --from DIC");
  // The personal word list of the custom dictionary, for words its records cannot hold.
  std::optional<engine::PersonalWords> personal;
  if (set.custom && (first == *set.custom || also)) {
    personal.emplace(fs, engine::PersonalWords::FileFor(*set.custom));
  }
  std::string second;
  if (also) {
    second = also->empty() ? set.custom.value_or(std::string()) : *also;
    if (second.empty()) throw ToolError("--also: no custom dictionary (--no-custom); name one");
  }
  engine::Engine engine = FileEngine(fs);
  Output out(STDOUT_FILENO, codec);
  int status = ExitOk;
  for (const std::string& argument : words) {
    const std::string utf8(codec.ToUtf8(argument));
    if (personal && personal->Remove(utf8)) {
      out << utf8 << ": deleted\n";
      continue;
    }
    std::string word;
    if (!text::Utf8ToCp1252(utf8, word)) {
      out << utf8 << ": in no dictionary\n";
      status = ExitFound;
      continue;
    }
    // Out of the first dictionary; out of the second only when the first lacks it.
    bool removed = engine.Remove(word, first, set.ignoreCase);
    if (!removed && also) removed = engine.Remove(word, second, set.ignoreCase);
    if (removed) {
      out << utf8 << ": deleted\n";
      continue;
    }
    // A dictionary the store cannot write counts as absent for a removal:
    // say so rather than "not found" when it does hold the word.
    const std::string* locked = nullptr;
    if (store::FindWord(fs, word, first, set.ignoreCase)) {
      locked = &first;
    } else if (also && store::FindWord(fs, word, second, set.ignoreCase)) {
      locked = &second;
    }
    if (locked != nullptr) {
      out.Flush();
      std::cerr << "spellcheck: " << utf8 << ": not deleted: " << *locked << " cannot be changed\n";
      status = ExitError;
      continue;
    }
    out << utf8 << ": not found\n";
    if (status == ExitOk) status = ExitFound;
  }
  out.Flush();
  return status;
}

int RunMerge(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
             const std::string& source, const std::string& target) {
  const engine::DictionarySet set = catalogue::ResolveDictionaries(options).set;
  const std::string from = source.empty() ? set.custom.value_or(std::string()) : source;
  const std::string into = target.empty() ? set.Main() : target;
  if (from.empty()) throw ToolError("no custom dictionary to merge (--no-custom): name a SOURCE");
  if (into.empty()) {
    throw ToolError(
        "no main word list to merge into (a Hunspell dictionary is never changed): name a TARGET");
  }
  // Merging a file into itself would delete it after the merge.
  if (SameFile(from, into)) throw ToolError("cannot merge " + from + " into itself");
  engine::Engine engine = FileEngine(fs);
  if (!engine.Merge(into, from)) {
    std::cerr << "spellcheck: nothing merged: " << from << " cannot be opened\n";
    return ExitFound;
  }
  std::cout << "merged " << from << " into " << into << "\n";
  return ExitOk;
}

}  // namespace spellcheck::tool
