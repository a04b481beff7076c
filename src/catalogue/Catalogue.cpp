#include "catalogue/Catalogue.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "catalogue/Folders.h"

namespace spellcheck::catalogue {
namespace {

namespace fs = std::filesystem;

// The mapping file of a data folder: "TAG FILE" lines.
constexpr const char* MappingName = "languages";

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

// A file name that reads as a language tag: two or three small letters,
// then nothing or "_" and letters, digits, "_" or "-" (de, de_DE,
// sr_Latn_RS, ca_ES-valencia).
bool IsTagName(std::string_view name) {
  std::size_t letters = 0;
  while (letters < name.size() && IsLowerAscii(name[letters])) ++letters;
  if (letters < 2 || letters > 3) return false;
  if (letters == name.size()) return true;
  if (name[letters] != '_' || letters + 1 == name.size()) return false;
  return std::all_of(name.begin() + letters + 1, name.end(), [](char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
  });
}

// The usual country of a language named alone; ll_LL where it is not listed.
std::string UsualTag(const std::string& language) {
  static constexpr std::pair<const char*, const char*> usual[] = {
      {"en", "en_US"}, {"de", "de_DE"}, {"fr", "fr_FR"}, {"es", "es_ES"}, {"it", "it_IT"},
      {"pt", "pt_PT"}, {"nl", "nl_NL"}, {"da", "da_DK"}, {"sv", "sv_SE"}, {"nb", "nb_NO"},
      {"ca", "ca_ES"}, {"ga", "ga_IE"}, {"cs", "cs_CZ"}, {"el", "el_GR"}, {"uk", "uk_UA"},
      {"sl", "sl_SI"}, {"et", "et_EE"}, {"he", "he_IL"}, {"ar", "ar_SA"}, {"ko", "ko_KR"},
      {"vi", "vi_VN"}, {"be", "be_BY"}, {"kk", "kk_KZ"}, {"sr", "sr_RS"}, {"hi", "hi_IN"},
      {"af", "af_ZA"}, {"gl", "gl_ES"}, {"eu", "eu_ES"}, {"nn", "nn_NO"}, {"gd", "gd_GB"}};
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
      {"gaeilge", "ga_IE"},      {"irish", "ga_IE"},       {"polish", "pl_PL"},
      {"polski", "pl_PL"},       {"russian", "ru_RU"},     {"czech", "cs_CZ"},
      {"hungarian", "hu_HU"},    {"magyar", "hu_HU"},      {"greek", "el_GR"},
      {"turkish", "tr_TR"},      {"ukrainian", "uk_UA"},   {"romanian", "ro_RO"}};
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

// The word lists of a data folder: its mapping lines first, then its TAG.dic
// files by name (english.dic is en_US's). Files that are not there are left out.
std::vector<Language> WordLists(const std::string& folder) {
  std::vector<Language> found;
  std::ifstream mapping(fs::path(folder) / MappingName);
  for (std::string line; std::getline(mapping, line);) {
    std::istringstream fields(line);
    std::string tag, file;
    if (!(fields >> tag >> file) || tag[0] == '#') continue;
    // Named the way the tool names its other files, with a slash; an
    // absolute FILE stays as it is.
    const std::string path = fs::path(file).is_absolute() ? file : folder + "/" + file;
    if (IsFile(path)) found.push_back({tag, Kind::WordList, path, {}});
  }
  std::vector<Language> named;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (path.extension() != ".dic" || !IsFile(path.string())) continue;
    std::string tag = path.stem().string();
    if (tag == "english") {
      tag = DefaultLanguage;
    } else if (!IsTagName(tag) || tag == DefaultLanguage) {
      continue;
    }
    named.push_back({tag, Kind::WordList, folder + "/" + path.filename().string(), {}});
  }
  std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
  found.insert(found.end(), named.begin(), named.end());
  return found;
}

// The Hunspell dictionaries of a folder: NAME.dic beside NAME.aff.
std::vector<Language> HunspellDictionaries(const std::string& folder) {
  std::vector<Language> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (path.extension() != ".dic" || !IsTagName(path.stem().string())) continue;
    // Named the way the tool names its other files, with a slash.
    const std::string stem = folder + "/" + path.stem().string();
    if (IsFile(path.string()) && IsFile(stem + ".aff")) {
      found.push_back({path.stem().string(), Kind::Hunspell, stem + ".dic", stem + ".aff"});
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
  return found;
}

// Each tag once, from its first folder.
void AddNew(std::vector<Language>& all, std::vector<Language> found) {
  for (Language& each : found) {
    const bool known =
        std::any_of(all.begin(), all.end(), [&](const auto& seen) { return seen.tag == each.tag; });
    if (!known) all.push_back(std::move(each));
  }
}

const Language* Find(const std::vector<Language>& installed, const std::string& tag) {
  for (const Language& language : installed) {
    if (language.tag == tag) return &language;
  }
  return nullptr;
}

std::string LanguageOf(const std::string& tag) {
  return tag.substr(0, tag.find_first_of("_-"));
}

// Another country's dictionary of the tag's language: the usual one first.
const Language* SameLanguage(const std::vector<Language>& installed, const std::string& tag) {
  const std::string language = LanguageOf(tag);
  if (const Language* usual = Find(installed, UsualTag(language))) return usual;
  if (const Language* alone = Find(installed, language)) return alone;
  for (const Language& each : installed) {
    if (LanguageOf(each.tag) == language) return &each;
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

// Names given on purpose: each must be installed (or a dictionary's path).
std::vector<Language> Named(const std::vector<std::string>& names) {
  std::vector<Language> installed;
  bool listed = false;
  std::vector<Language> chosen;
  for (const std::string& name : SplitNames(names)) {
    Language language;
    if (IsPath(name)) {
      language = HunspellAt(name);
    } else {
      if (!listed) {
        installed = InstalledLanguages();
        listed = true;
      }
      const std::string tag = LanguageTag(name);
      const Language* found = tag.empty() ? nullptr : Find(installed, tag);
      // A tag of the system's that LanguageTag does not rewrite (sr_Latn_RS).
      if (found == nullptr) found = Find(installed, name);
      // A language named alone takes any country's dictionary of it.
      if (found == nullptr && !tag.empty() && name.find_first_of("_-") == std::string::npos &&
          NamedTag(name).empty()) {
        found = SameLanguage(installed, tag);
      }
      if (found == nullptr) {
        throw Error("no dictionary for the language '" + name +
                    "'; installed: " + InstalledList(installed) + " (spellcheck dicts lists them)");
      }
      language = *found;
    }
    const bool repeated = std::any_of(chosen.begin(), chosen.end(), [&](const Language& each) {
      return each.tag == language.tag && each.file == language.file;
    });
    if (!repeated) chosen.push_back(std::move(language));
  }
  return chosen;
}

}  // namespace

const char* KindName(Kind kind) {
  return kind == Kind::Hunspell ? "hunspell" : "word list";
}

std::string DictionaryFileName(const std::string& tag) {
  return tag == DefaultLanguage ? std::string("english.dic") : tag + ".dic";
}

std::vector<Language> AllDictionaries(std::vector<Language>* passedOver) {
  std::vector<Language> lists, hunspell;
  for (const std::string& folder : DataFolders()) AddNew(lists, WordLists(folder));
  for (const std::string& folder : HunspellFolders())
    AddNew(hunspell, HunspellDictionaries(folder));
  std::vector<Language> chosen;
  for (Language& each : hunspell) {
    const Language* list = Find(lists, each.tag);
    const bool listWins = list != nullptr && each.tag == DefaultLanguage;
    if (listWins) {
      if (passedOver) passedOver->push_back(std::move(each));
    } else {
      chosen.push_back(std::move(each));
    }
  }
  for (Language& each : lists) {
    if (Find(chosen, each.tag) == nullptr) {
      chosen.push_back(std::move(each));
    } else if (passedOver) {
      passedOver->push_back(std::move(each));
    }
  }
  std::sort(chosen.begin(), chosen.end(),
            [](const auto& a, const auto& b) { return a.tag < b.tag; });
  if (passedOver) {
    std::sort(passedOver->begin(), passedOver->end(),
              [](const auto& a, const auto& b) { return a.tag < b.tag; });
  }
  return chosen;
}

std::vector<Language> InstalledLanguages() {
  return AllDictionaries(nullptr);
}

std::optional<Language> FindLanguage(std::string_view tag) {
  for (Language& each : InstalledLanguages()) {
    if (each.tag == tag) return std::move(each);
  }
  return std::nullopt;
}

bool IsPath(std::string_view name) {
#ifdef _WIN32
  return name.find_first_of("/\\") != std::string_view::npos;
#else
  return name.find('/') != std::string_view::npos;
#endif
}

Language HunspellAt(const std::string& path) {
  fs::path base(path);
  if (base.extension() == ".aff" || base.extension() == ".dic") base.replace_extension();
  fs::path dic = base, aff = base;
  dic += ".dic";
  aff += ".aff";
  if (!IsFile(dic.string()) || !IsFile(aff.string())) {
    throw Error("no Hunspell dictionary at " + path + ": it needs " + aff.string() + " and " +
                dic.string());
  }
  const std::string stem = base.filename().string();
  const std::string tag = LanguageTag(stem);
  return {tag.empty() ? stem : tag, Kind::Hunspell, dic.string(), aff.string()};
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
    run.languages = Named(names);
    run.from = "-d";
    return run;
  }
  if (const std::string wanted = Environment("SPELLCHECK_LANG"); !wanted.empty()) {
    run.languages = Named({wanted});
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

}  // namespace spellcheck::catalogue
