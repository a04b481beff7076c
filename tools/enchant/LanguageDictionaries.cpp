#include "enchant/LanguageDictionaries.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace spellcheck::enchant {
namespace {

namespace fs = std::filesystem;

// The mapping file of a data folder.
constexpr const char* MappingName = "languages";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool IsFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

bool IsLower(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsAlnum(char c) {
  return IsLower(c) || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The folder's tags in the order it declares them: mapping lines first, then
// the TAG.dic files by name. Files that are not there are left out.
std::vector<LanguageDictionary> FolderLanguages(const std::string& folder) {
  std::vector<LanguageDictionary> found;
  std::ifstream mapping(fs::path(folder) / MappingName);
  for (std::string line; std::getline(mapping, line);) {
    std::istringstream fields(line);
    std::string tag, file;
    if (!(fields >> tag >> file) || tag[0] == '#') continue;
    const fs::path path = fs::path(folder) / file;  // an absolute FILE stays as it is
    if (IsFile(path)) found.push_back({tag, path.string()});
  }
  std::vector<LanguageDictionary> named;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (path.extension() != ".dic" || !IsLanguageTag(path.stem().string())) continue;
    if (IsFile(path)) named.push_back({path.stem().string(), path.string()});
  }
  std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
  found.insert(found.end(), named.begin(), named.end());
  return found;
}

}  // namespace

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders;
  std::istringstream listed(Environment("SPELLCHECK_DATA"));
  for (std::string folder; std::getline(listed, folder, ':');) {
    if (!folder.empty()) folders.push_back(folder);
  }
  std::string dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.empty() && !Environment("HOME").empty()) {
    dataHome = Environment("HOME") + "/.local/share";
  }
  if (!dataHome.empty()) folders.push_back(dataHome + "/spellcheck");
  folders.push_back(SPELLCHECK_DATA_DIR);
  return folders;
}

bool IsLanguageTag(std::string_view name) {
  std::size_t letters = 0;
  while (letters < name.size() && IsLower(name[letters])) ++letters;
  if (letters < 2 || letters > 3) return false;
  if (letters == name.size()) return true;
  if (name[letters] != '_' || letters + 1 == name.size()) return false;
  return std::all_of(name.begin() + letters + 1, name.end(),
                     [](char c) { return IsAlnum(c) || c == '_'; });
}

std::vector<LanguageDictionary> ListLanguages(const std::vector<std::string>& folders) {
  std::vector<LanguageDictionary> all;
  for (const std::string& folder : folders) {
    for (LanguageDictionary& each : FolderLanguages(folder)) {
      const bool known = std::any_of(all.begin(), all.end(),
                                     [&](const auto& seen) { return seen.tag == each.tag; });
      if (!known) all.push_back(std::move(each));
    }
  }
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
  return all;
}

std::string FindLanguage(const std::vector<std::string>& folders, std::string_view tag) {
  for (const std::string& folder : folders) {
    for (const LanguageDictionary& each : FolderLanguages(folder)) {
      if (each.tag == tag) return each.file;
    }
  }
  return {};
}

}  // namespace spellcheck::enchant
