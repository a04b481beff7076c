// Which dictionary serves a language tag (en_US, de_DE, fr): the data
// folders are searched in order; in each, the lines of its `languages` file
// ("TAG FILE", the file in that folder) and then every file named TAG.dic.
// The first folder that has the tag wins.
#ifndef SPELLCHECK_ENCHANT_LANGUAGEDICTIONARIES_H
#define SPELLCHECK_ENCHANT_LANGUAGEDICTIONARIES_H

#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::enchant {

// $SPELLCHECK_DATA (folders separated by ':'), the user's data folder
// ($XDG_DATA_HOME/spellcheck, ~/.local/share/spellcheck) and the installed one.
std::vector<std::string> DataFolders();

// True for names that read as a language tag: two or three lower-case
// letters, then nothing or "_" and letters, digits or "_" (de, de_DE, sr_RS_latin).
bool IsLanguageTag(std::string_view name);

struct LanguageDictionary {
  std::string tag;
  std::string file;  // an existing regular file
};

// Every tag the folders serve, each once (from its first folder), by tag.
std::vector<LanguageDictionary> ListLanguages(const std::vector<std::string>& folders);

// The dictionary for the tag; empty when none serves it.
std::string FindLanguage(const std::vector<std::string>& folders, std::string_view tag);

}  // namespace spellcheck::enchant

#endif
