// spellcheck --version: the program's version and its dictionaries'.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "SpellcheckVersion.h"
#include "commands/Commands.h"
#include "catalogue/Catalogue.h"
#include "store/TvarWord.h"

namespace spellcheck::tool {
namespace {

// The package and version a dictionary's words come from; empty when unknown.
std::string SourceOf(const std::string& name) {
  for (const DictionarySource* entry = DictionarySources; entry->dictionary; ++entry) {
    if (name == entry->dictionary) return entry->source;
  }
  return std::string();
}

}  // namespace

std::string VersionText() {
  namespace fs = std::filesystem;
  std::ostringstream text;
  text << "spellcheck " << SPELLCHECK_VERSION;
  std::string bundled;
  for (const catalogue::Language& language : catalogue::InstalledLanguages()) {
    if (language.tag == catalogue::DefaultLanguage) bundled = language.file;
  }
  if (bundled.empty()) {
    text << "\nno bundled dictionary found";
    return text.str();
  }
  // Every dictionary beside the bundled one, in name order.
  const fs::path folder = fs::path(bundled).parent_path();
  std::vector<fs::path> dictionaries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (it->path().extension() == ".dic" && it->is_regular_file(ignored)) {
      dictionaries.push_back(it->path());
    }
  }
  std::sort(dictionaries.begin(), dictionaries.end());
  text << "\ndictionaries in " << folder.string() << ":";
  for (const fs::path& path : dictionaries) {
    const std::string name = path.filename().string();
    const auto size = fs::file_size(path, error);
    text << "\n  " << name << ": ";
    if (error) {
      text << "unreadable";
      continue;
    }
    text << size / store::RecordSize << " words";
    if (const std::string source = SourceOf(name); !source.empty()) text << ", from " << source;
  }
  return text.str();
}

}  // namespace spellcheck::tool
