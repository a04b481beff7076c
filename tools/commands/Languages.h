// The languages the tool has dictionaries for: <tag>.dic files in the data
// folder, named by tag (de_DE), by ispell's names for them (deutsch) or by
// the locale (LANG=de_DE.UTF-8).
#ifndef SPELLCHECK_TOOL_LANGUAGES_H
#define SPELLCHECK_TOOL_LANGUAGES_H

#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::tool {

// The language every run falls back to; its dictionary is the bundled
// english.dic, under the name it always had.
inline constexpr const char* DefaultLanguage = "en_US";

struct Language {
  std::string tag;   // en_US, de_DE, ...
  std::string file;  // its dictionary
};

// The folders language dictionaries are looked for in: those of
// $SPELLCHECK_DATA (separated by ':', on Windows ';') alone when it is set; else share/spellcheck
// beside the program's folder (the build tree and an installation alike), then the installed data
// folder.
std::vector<std::string> DataFolders();

// The name of a language's dictionary in the data folder: TAG.dic, and for
// en_US english.dic.
std::string DictionaryFileName(const std::string& tag);

// Every installed language, by tag: the TAG.dic files of the data folders
// (of two folders holding a tag, the first), and english.dic as en_US.
std::vector<Language> InstalledLanguages();

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

// From `names` (-d/--lang; each may hold several, separated by commas), else
// $SPELLCHECK_LANG: every name must be an installed language, else a
// ToolError lists the installed ones. Else, when `mainNamed` (the main
// dictionary is a file the user named), none. Else the locale's language
// (LC_ALL, LC_MESSAGES, LANG: the first set; C and POSIX are en_US), or
// another country's dictionary of its language, else en_US: a locale is no
// request, so what is missing falls back quietly. Else en_US.
RunLanguages ResolveLanguages(const std::vector<std::string>& names, bool mainNamed);

}  // namespace spellcheck::tool

#endif
