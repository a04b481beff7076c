#include "commands/Languages.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "commands/ToolError.h"

namespace spellcheck::tool {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

// The running program's own file, or an empty path.
std::filesystem::path ProgramFile() {
#if defined(_WIN32)
  char name[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, name, sizeof name);
  return length == 0 || length == sizeof name ? std::filesystem::path()
                                              : std::filesystem::path(std::string(name, length));
#else
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program;
#endif
}

bool IsLowerAscii(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsAsciiLetter(char c) {
  return IsLowerAscii(c) || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// ll_CC as the data folder's files are named.
bool IsTag(std::string_view name) {
  const std::size_t bar = name.find('_');
  if (bar < 2 || bar > 3 || name.size() != bar + 3) return false;
  for (std::size_t k = 0; k < bar; ++k) {
    if (!IsLowerAscii(name[k])) return false;
  }
  return name[bar + 1] >= 'A' && name[bar + 1] <= 'Z' && name[bar + 2] >= 'A' &&
         name[bar + 2] <= 'Z';
}

// The usual country of a language named alone; ll_LL where it is not listed.
std::string UsualTag(const std::string& language) {
  static constexpr std::pair<const char*, const char*> usual[] = {
      {"en", "en_US"}, {"de", "de_DE"}, {"fr", "fr_FR"}, {"es", "es_ES"},
      {"it", "it_IT"}, {"pt", "pt_PT"}, {"nl", "nl_NL"}, {"da", "da_DK"},
      {"sv", "sv_SE"}, {"nb", "nb_NO"}, {"ca", "ca_ES"}, {"ga", "ga_IE"}};
  for (const auto& [name, tag] : usual) {
    if (language == name) return tag;
  }
  std::string tag = language + "_";
  for (char c : language.substr(0, 2)) tag += Upper(c);
  return tag;
}

// ispell's, aspell's and Emacs's names of dictionaries (ispell.el's
// ispell-dictionary-base-alist and the /usr/share/dict names among them).
std::string NamedTag(const std::string& lower) {
  static constexpr std::pair<const char*, const char*> names[] = {
      {"english", "en_US"},      {"american", "en_US"},    {"british", "en_GB"},
      {"canadian", "en_CA"},     {"deutsch", "de_DE"},     {"deutsch8", "de_DE"},
      {"german", "de_DE"},       {"german8", "de_DE"},     {"ngerman", "de_DE"},
      {"swiss", "de_CH"},        {"francais", "fr_FR"},    {"francais7", "fr_FR"},
      {"francais-tex", "fr_FR"}, {"french", "fr_FR"},      {"castellano", "es_ES"},
      {"castellano8", "es_ES"},  {"espanol", "es_ES"},     {"spanish", "es_ES"},
      {"italiano", "it_IT"},     {"italian", "it_IT"},     {"portugues", "pt_PT"},
      {"portuguese", "pt_PT"},   {"brasileiro", "pt_BR"},  {"brazilian", "pt_BR"},
      {"nederlands", "nl_NL"},   {"nederlands8", "nl_NL"}, {"dutch", "nl_NL"},
      {"dansk", "da_DK"},        {"danish", "da_DK"},      {"svenska", "sv_SE"},
      {"swedish", "sv_SE"},      {"norsk", "nb_NO"},       {"norsk7", "nb_NO"},
      {"bokmal", "nb_NO"},       {"bokmaal", "nb_NO"},     {"bokm\xC3\xA5l", "nb_NO"},
      {"norwegian", "nb_NO"},    {"catala", "ca_ES"},      {"catalan", "ca_ES"},
      {"gaeilge", "ga_IE"},      {"irish", "ga_IE"}};
  for (const auto& [name, tag] : names) {
    if (lower == name) return tag;
  }
  return std::string();
}

std::vector<std::string> SplitNames(const std::vector<std::string>& names) {
  std::vector<std::string> parts;
  for (const std::string& name : names) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = name.find(',', start);
      std::string part = name.substr(start, comma - start);
      if (!part.empty()) parts.push_back(std::move(part));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return parts;
}

const Language* Find(const std::vector<Language>& installed, const std::string& tag) {
  for (const Language& language : installed) {
    if (language.tag == tag) return &language;
  }
  return nullptr;
}

// Another country's dictionary of the tag's language: the usual one first.
const Language* SameLanguage(const std::vector<Language>& installed, const std::string& tag) {
  const std::string language = tag.substr(0, tag.find('_'));
  if (const Language* usual = Find(installed, UsualTag(language))) return usual;
  for (const Language& each : installed) {
    if (each.tag.substr(0, each.tag.find('_')) == language) return &each;
  }
  return nullptr;
}

std::string InstalledList(const std::vector<Language>& installed) {
  if (installed.empty()) return "none";
  std::string list;
  for (const Language& language : installed) {
    if (!list.empty()) list += ", ";
    list += language.tag;
  }
  return list;
}

// Names given on purpose: each must be installed.
std::vector<Language> Named(const std::vector<Language>& installed,
                            const std::vector<std::string>& names) {
  std::vector<Language> chosen;
  for (const std::string& name : SplitNames(names)) {
    const std::string tag = LanguageTag(name);
    const Language* found = tag.empty() ? nullptr : Find(installed, tag);
    // A language named alone takes any country's dictionary of it.
    if (found == nullptr && !tag.empty() && name.find_first_of("_-") == std::string::npos &&
        NamedTag(name).empty()) {
      found = SameLanguage(installed, tag);
    }
    if (found == nullptr) {
      throw ToolError("no dictionary for the language '" + name + "'; installed: " +
                      InstalledList(installed) + " (spellcheck dicts lists them)");
    }
    const bool repeated = std::any_of(chosen.begin(), chosen.end(),
                                      [&](const Language& each) { return each.tag == found->tag; });
    if (!repeated) chosen.push_back(*found);
  }
  return chosen;
}

}  // namespace

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders;
  // A list of folders, as PATH is written.
#ifdef _WIN32
  constexpr char Separator = ';';
#else
  constexpr char Separator = ':';
#endif
  const std::string data = Environment("SPELLCHECK_DATA");
  for (std::size_t begin = 0; begin < data.size();) {
    std::size_t end = data.find(Separator, begin);
    if (end == std::string::npos) end = data.size();
    if (end > begin) folders.push_back(data.substr(begin, end - begin));
    begin = end + 1;
  }
  if (!folders.empty()) return folders;
  const auto program = ProgramFile();
  if (!program.empty()) {
    folders.push_back((program.parent_path().parent_path() / "share" / "spellcheck").string());
  }
  folders.push_back(SPELLCHECK_DATA_DIR);
  return folders;
}

std::string DictionaryFileName(const std::string& tag) {
  return tag == DefaultLanguage ? std::string("english.dic") : tag + ".dic";
}

std::vector<Language> InstalledLanguages() {
  std::vector<Language> installed;
  for (const std::string& folder : DataFolders()) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) continue;
    std::vector<Language> found;
    for (const auto& entry : entries) {
      const auto path = entry.path();
      if (path.extension() != ".dic" || !IsFile(path)) continue;
      const std::string stem = path.stem().string();
      std::string tag;
      if (stem == "english") {
        tag = DefaultLanguage;
      } else if (IsTag(stem) && stem != DefaultLanguage) {
        tag = stem;
      } else {
        continue;
      }
      // Named the way the tool names its other files, with a slash.
      if (Find(installed, tag) == nullptr) {
        found.push_back({tag, folder + "/" + path.filename().string()});
      }
    }
    installed.insert(installed.end(), found.begin(), found.end());
  }
  std::sort(installed.begin(), installed.end(),
            [](const Language& a, const Language& b) { return a.tag < b.tag; });
  return installed;
}

std::string LanguageTag(std::string_view name) {
  std::string lower;
  for (char c : name) lower += Lower(c);
  if (std::string tag = NamedTag(lower); !tag.empty()) return tag;
  // A locale's encoding and modifier say nothing of the language.
  std::string_view base = name.substr(0, name.find_first_of(".@"));
  std::string language;
  std::size_t k = 0;
  while (k < base.size() && IsAsciiLetter(base[k])) language += Lower(base[k++]);
  if (language.size() < 2 || language.size() > 3) return std::string();
  if (language == "no") language = "nb";
  if (k == base.size()) return UsualTag(language);
  if ((base[k] != '_' && base[k] != '-') || base.size() != k + 3 || !IsAsciiLetter(base[k + 1]) ||
      !IsAsciiLetter(base[k + 2])) {
    return std::string();
  }
  return language + "_" + Upper(base[k + 1]) + Upper(base[k + 2]);
}

RunLanguages ResolveLanguages(const std::vector<std::string>& names, bool mainNamed) {
  RunLanguages run;
  if (!names.empty()) {
    run.languages = Named(InstalledLanguages(), names);
    run.from = "-d";
    return run;
  }
  if (const std::string wanted = Environment("SPELLCHECK_LANG"); !wanted.empty()) {
    run.languages = Named(InstalledLanguages(), {wanted});
    run.from = "$SPELLCHECK_LANG";
    return run;
  }
  if (mainNamed) return run;
  const std::vector<Language> installed = InstalledLanguages();
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string locale = Environment(variable);
    if (locale.empty()) continue;
    run.from = std::string(variable) + "=" + locale;
    const std::string base = locale.substr(0, locale.find_first_of(".@"));
    const std::string tag = base == "C" || base == "POSIX" ? DefaultLanguage : LanguageTag(base);
    const Language* found = tag.empty() ? nullptr : Find(installed, tag);
    if (found == nullptr && !tag.empty()) found = SameLanguage(installed, tag);
    if (found != nullptr) {
      run.languages = {*found};
      return run;
    }
    run.from += ", not installed";
    break;
  }
  if (run.from.empty()) run.from = "the default";
  if (const Language* fallback = Find(installed, DefaultLanguage)) run.languages = {*fallback};
  return run;
}

}  // namespace spellcheck::tool
