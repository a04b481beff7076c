// Where dictionaries are looked for: the data folders of our own word lists
// and the folders of the system's Hunspell dictionaries.
#ifndef SPELLCHECK_CATALOGUE_FOLDERS_H
#define SPELLCHECK_CATALOGUE_FOLDERS_H

#include <string>
#include <vector>

namespace spellcheck::catalogue {

// The value of an environment variable; empty when it is not set.
std::string Environment(const char* name);
// True when the variable is set, even to nothing.
bool InEnvironment(const char* name);

// The folders of our own language dictionaries, in the order they are
// searched: those of $SPELLCHECK_DATA (separated by ':', on Windows ';'),
// then the user's ($XDG_DATA_HOME/spellcheck, ~/.local/share/spellcheck);
// without $SPELLCHECK_DATA also share/spellcheck beside the program's folder
// (the build tree and an installation alike) and the installed data folder.
std::vector<std::string> DataFolders();

// The folders of Hunspell dictionaries (NAME.aff beside NAME.dic): those of
// $SPELLCHECK_HUNSPELL_PATH alone when it is set (set to nothing: none);
// else those of $DICPATH, the user's ($XDG_DATA_HOME/hunspell), and the
// system's /usr/share/hunspell and /usr/share/myspell.
std::vector<std::string> HunspellFolders();

// The folder of compiled dictionaries: $SPELLCHECK_CACHE when it is set (set
// to nothing: none, every run computes what it needs); else
// $XDG_CACHE_HOME/spellcheck, ~/.cache/spellcheck, on Windows
// %LOCALAPPDATA%\spellcheck; empty when there is no such place.
std::string CacheFolder();

// The folders of compiled dictionaries made when the program was built or
// installed, read after CacheFolder() and never written: "compiled" in each
// data folder, and the installed system cache folder; none when
// $SPELLCHECK_CACHE is set to nothing.
std::vector<std::string> SharedCacheFolders();

// True for a regular file (through links); never an error.
bool IsFile(const std::string& path);

// The per-user folder of the default custom dictionaries, with its slash;
// empty (the current folder) when there is no home.
std::string UserDataFolder();

}  // namespace spellcheck::catalogue

#endif
