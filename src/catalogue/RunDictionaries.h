// Which dictionaries a run uses: the main one, the custom one and up to ten
// further ones, from the command line, the environment and the defaults; and
// the speller that answers a run's questions about them.
#ifndef SPELLCHECK_CATALOGUE_RUNDICTIONARIES_H
#define SPELLCHECK_CATALOGUE_RUNDICTIONARIES_H

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "compiled/Cache.h"
#include "engine/DictionarySet.h"
#include "engine/Speller.h"
#include "store/FileSystem.h"

namespace spellcheck::catalogue {

// What the user asked for; empty fields fall back to the defaults.
struct DictionaryOptions {
  std::string main;                // --main
  std::string custom;              // --custom
  std::vector<std::string> extra;  // --dic, in order
  bool noCustom = false;           // --no-custom
  bool ignoreCase = false;         // --ignore-case
  std::string encoding = "UTF-8";  // --encoding
  // Language tags (en_US, de_DE, ...) or paths of Hunspell dictionaries,
  // from -d/--lang or a config file; empty: from the environment.
  std::vector<std::string> languages;
};

// The dictionaries of a run, its languages, and whether the custom one is
// the per-user default, whose folder may need making before its first word.
struct RunDictionaries {
  engine::DictionarySet set;
  bool customIsDefault = false;
  RunLanguages languages;
};

// Applies the defaults. Main dictionaries: --main; else those of -d/--lang;
// else $SPELLCHECK_MAIN; else those of $SPELLCHECK_LANG, the locale or en_US
// (see ResolveLanguages; a file named as the main dictionary leaves the
// locale out). Custom: --custom, $SPELLCHECK_CUSTOM, else in
// $XDG_DATA_HOME/spellcheck/ (~/.local/share/spellcheck/) the first
// language's: cust.dic for en_US (and for no language), cust-TAG.dic for
// the others, whose words count too. The main dictionary list stays empty
// when no dictionary is found.
// Throws Error for an unknown language named on purpose and when there
// are more than ten further dictionaries.
RunDictionaries ResolveDictionaries(const DictionaryOptions& options);

// The default custom dictionary of a language: cust.dic for en_US and for
// none (""), cust-TAG.dic for the others.
std::string CustomFileName(const std::string& tag);

// Throws Error unless `path` names a regular file that can be read (an
// empty main name: the bundled dictionary is missing). Never waits on a FIFO
// or device.
void RequireReadable(store::FileSystem& fs, const std::string& path, const std::string& role);

// Makes the folder of the per-user custom dictionary before its first word.
void PrepareCustomFolder(const RunDictionaries& dictionaries);

// How a run reads the dictionaries: a few words on the command line are
// looked up in the files; a text is checked against contents read once into
// memory and looked at again whenever Refresh() is called.
enum class Reading { EachLookup, InMemory };

// Where a run keeps and finds compiled dictionaries: CacheFolder(), then
// SharedCacheFolders().
compiled::Cache RunCache(store::FileSystem& fs);

// The speller for the run's dictionaries; the main one must be readable.
// Compiled forms are kept in RunCache(), or in `cache`.
engine::Speller MakeSpeller(store::FileSystem& fs, const RunDictionaries& dictionaries,
                            Reading reading);
engine::Speller MakeSpeller(store::FileSystem& fs, const RunDictionaries& dictionaries,
                            Reading reading, const compiled::Cache& cache);

// A language's main dictionary and its ranking: the commonness levels
// NAME.levels beside a word list NAME.dic, and the English sound key for
// English (and for a file of no named language, as always).
engine::MainDictionary MainOf(const Language& language);

}  // namespace spellcheck::catalogue

#endif
