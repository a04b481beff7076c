// Which dictionaries a run uses: the main one, the custom one and up to ten
// further ones, from the command line, the environment and the defaults.
#ifndef SPELLCHECK_TOOL_DICTIONARYSET_H
#define SPELLCHECK_TOOL_DICTIONARYSET_H

#include <optional>
#include <string>
#include <vector>

namespace spellcheck::tool {

// The further dictionaries of a check: the custom one first, then --dic ones.
inline constexpr std::size_t MaxFurtherDictionaries = 10;

// What the user asked for; empty fields fall back to the defaults.
struct DictionaryOptions {
  std::string main;                // --main
  std::string custom;              // --custom
  std::vector<std::string> extra;  // --dic, in order
  bool noCustom = false;           // --no-custom
  bool ignoreCase = false;         // --ignore-case
  std::string encoding = "UTF-8";  // --encoding
};

struct DictionarySet {
  std::string main;
  std::optional<std::string> custom;  // absent with --no-custom
  bool customIsDefault = false;       // the per-user default, whose folder may need making
  std::vector<std::string> extra;
  bool ignoreCase = false;

  // The custom dictionary (if any) and then the extra ones.
  std::vector<std::string> Further() const;
};

// Applies the defaults: main = --main, $SPELLCHECK_MAIN, the bundled
// dictionary; custom = --custom, $SPELLCHECK_CUSTOM,
// $XDG_DATA_HOME/spellcheck/cust.dic, ~/.local/share/spellcheck/cust.dic.
// `main` stays empty when no dictionary is found.
// Throws ToolError when there are more than ten further dictionaries.
DictionarySet ResolveDictionaries(const DictionaryOptions& options);

// The bundled English dictionary: ../share/spellcheck/english.dic from the
// program (the build tree and an installation alike), else the installed
// data folder. Empty when neither exists.
std::string BundledDictionary();

// Throws ToolError unless `path` names a readable file (an empty main
// name: the bundled dictionary is missing).
void RequireReadable(const std::string& path, const std::string& role);

// Makes the folder of the per-user custom dictionary before its first word.
void PrepareCustomFolder(const DictionarySet& set);

}  // namespace spellcheck::tool

#endif
