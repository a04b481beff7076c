// The one catalogue of language dictionaries, for every front end (the tool,
// the language server, the Enchant provider): which dictionary serves a
// language tag, found by tag in our data folders and in the system's Hunspell
// folders, and the languages of a run.
#ifndef SPELLCHECK_CATALOGUE_CATALOGUE_H
#define SPELLCHECK_CATALOGUE_CATALOGUE_H

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::catalogue {

// A request the catalogue cannot serve (an unknown language named on
// purpose, a path that holds no dictionary): a message for the user.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The language every run falls back to; its dictionary is the bundled
// english.dic, under the name it always had.
inline constexpr const char* DefaultLanguage = "en_US";

enum class Kind {
  WordList,  // our own file of words (records), TAG.dic in a data folder
  Hunspell,  // NAME.aff with NAME.dic: stems, affix rules, compounds
};
const char* KindName(Kind kind);

struct Language {
  std::string tag;  // en_US, de_DE, ...
  Kind kind = Kind::WordList;
  std::string file;  // the word list, or the Hunspell .dic
  std::string aff;   // the Hunspell .aff; empty for a word list
};

// The name of a language's word list in a data folder: TAG.dic, and for
// en_US english.dic.
std::string DictionaryFileName(const std::string& tag);

// Every language dictionary, one per tag, by tag. Of a data folder, the tags
// of its `languages` file ("TAG FILE" lines) and its TAG.dic files; of a
// Hunspell folder, its NAME.aff + NAME.dic pairs. A tag with a Hunspell
// dictionary is served by it (its morphology is the complete one), but for
// en_US, which keeps the bundled word list; our word lists serve the rest.
// Of two folders with a tag of one kind, the first wins.
std::vector<Language> InstalledLanguages();

// Every dictionary found, of both kinds, for listing (`spellcheck dicts`):
// what InstalledLanguages chose first, then those it passed over.
std::vector<Language> AllDictionaries(std::vector<Language>* passedOver);

// The installed dictionary of a tag (exactly that tag), if any.
std::optional<Language> FindLanguage(std::string_view tag);

// A Hunspell dictionary named by its path, with or without .aff or .dic:
// both NAME.aff and NAME.dic must be regular files. Throws Error otherwise.
Language HunspellAt(const std::string& path);

// True when a -d name is a path rather than a tag: it holds a slash.
bool IsPath(std::string_view name);

// The tag a name stands for: a tag ("de_DE", "de-DE", "de_de"), a locale
// ("de_DE.UTF-8", "de_DE@euro"), a language alone ("de": its usual country,
// de_DE), or one of the names ispell, aspell and Emacs give dictionaries
// ("deutsch", "british", "francais"); "no" is Norwegian Bokmål, nb. Empty
// when the name has none of these forms.
std::string LanguageTag(std::string_view name);

// The run's languages and where they were named.
struct RunLanguages {
  std::vector<Language> languages;  // empty: none (the main dictionary is a file)
  std::string from;                 // "-d", "$SPELLCHECK_LANG", "LANG=de_DE.UTF-8", ...
};

// From `names` (-d/--lang; each may hold several, separated by commas; a
// name with a slash is the path of a Hunspell dictionary), else
// $SPELLCHECK_LANG: every name must be an installed language, else an Error
// lists the installed ones. Else, when `mainNamed` (the main dictionary is a
// file the user named), none. Else the locale's language (LC_ALL,
// LC_MESSAGES, LANG: the first set; C and POSIX are en_US), or another
// country's dictionary of its language, else en_US: a locale is no request,
// so what is missing falls back quietly. Else en_US.
RunLanguages ResolveLanguages(const std::vector<std::string>& names, bool mainNamed);

}  // namespace spellcheck::catalogue

#endif
