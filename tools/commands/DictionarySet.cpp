#include "commands/DictionarySet.h"

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

// The per-user folder of the default custom dictionaries, with its slash;
// empty (the current folder) when there is no home.
std::string CustomFolder() {
  std::string dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.empty()) {
    const std::string home = Environment("HOME");
    if (home.empty()) return std::string();
    dataHome = home + "/.local/share";
  }
  return dataHome + "/spellcheck/";
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

// A main dictionary and its ranking: the commonness levels NAME.levels
// beside NAME.dic, and the English sound key for English (and for a file of
// no named language, as always).
engine::MainDictionary MainOf(const std::string& file, const std::string& tag) {
  engine::MainDictionary main;
  main.file = file;
  if (const auto dot = file.rfind(".dic"); dot != std::string::npos && dot + 4 == file.size()) {
    const std::string levels = file.substr(0, dot) + ".levels";
    if (IsFile(levels)) main.levels = levels;
  }
  main.englishSounds = tag.empty() || tag.starts_with("en_");
  return main;
}

}  // namespace

std::string CustomFileName(const std::string& tag) {
  return tag.empty() || tag == DefaultLanguage ? std::string("cust.dic") : "cust-" + tag + ".dic";
}

RunDictionaries ResolveDictionaries(const DictionaryOptions& options) {
  RunDictionaries run;
  engine::DictionarySet& set = run.set;
  set.ignoreCase = options.ignoreCase;
  const std::string environmentMain = Environment("SPELLCHECK_MAIN");
  // A file named for the main dictionary (on the command line, or in the
  // environment with no language on the command line) beats a language
  // named at the same level, and the locale altogether.
  const bool fileNamed =
      !options.main.empty() || (options.languages.empty() && !environmentMain.empty());
  run.languages = ResolveLanguages(options.languages, fileNamed);
  const std::vector<Language>& languages = run.languages.languages;
  const std::string first = languages.empty() ? std::string() : languages.front().tag;
  if (fileNamed) {
    set.mains.push_back(MainOf(!options.main.empty() ? options.main : environmentMain, first));
  } else {
    for (const Language& language : languages) {
      set.mains.push_back(MainOf(language.file, language.tag));
    }
  }
  if (!options.noCustom) {
    std::string custom = options.custom;
    if (custom.empty()) custom = Environment("SPELLCHECK_CUSTOM");
    if (custom.empty()) {
      custom = CustomFolder() + CustomFileName(first);
      run.customIsDefault = true;
    }
    set.custom = custom;
  }
  set.extra = options.extra;
  if (set.Further().size() > engine::MaxFurtherDictionaries) {
    throw ToolError(
        "too many dictionaries: at most ten besides the main one (the custom one counts)");
  }
  // The other languages' own custom dictionaries count too (after the
  // custom one; they need not exist).
  if (run.customIsDefault) {
    std::size_t at = 0;
    for (std::size_t k = 1; k < languages.size(); ++k) {
      const std::string other = CustomFolder() + CustomFileName(languages[k].tag);
      if (other != *set.custom) set.extra.insert(set.extra.begin() + at++, other);
    }
  }
  return run;
}

void RequireReadable(store::FileSystem& fs, const std::string& path, const std::string& role) {
  if (path.empty()) {
    throw ToolError("no " + role +
                    " dictionary: the bundled one was not found; name one with --main FILE or "
                    "SPELLCHECK_MAIN");
  }
  // The store's open never blocks and takes regular files only.
  std::unique_ptr<store::File> file;
  if (fs.Open(path, store::Access::Read, store::Disposition::OpenExisting, file) !=
      store::code::Ok) {
    throw ToolError("cannot read the " + role + " dictionary " + path);
  }
}

void PrepareCustomFolder(const RunDictionaries& dictionaries) {
  const auto& custom = dictionaries.set.custom;
  if (!custom || !dictionaries.customIsDefault) return;
  const auto folder = std::filesystem::path(*custom).parent_path();
  if (folder.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw ToolError("cannot make the folder " + folder.string() + ": " + error.message());
}

engine::Speller MakeSpeller(store::FileSystem& fs, const RunDictionaries& dictionaries,
                            Reading reading) {
  if (dictionaries.set.mains.empty()) RequireReadable(fs, std::string(), "main");
  for (const engine::MainDictionary& main : dictionaries.set.mains) {
    RequireReadable(fs, main.file, "main");
  }
  auto source = reading == Reading::EachLookup
                    ? engine::ReadEachCall(fs)
                    : engine::KeepInMemory(fs, {engine::Recheck::When::OnRefresh, {}});
  return engine::Speller(std::make_unique<engine::Engine>(fs, std::move(source)), dictionaries.set,
                         reading == Reading::InMemory);
}

}  // namespace spellcheck::tool
