#include "catalogue/RunDictionaries.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "catalogue/Folders.h"

namespace spellcheck::catalogue {
namespace {

// A file named as the main dictionary: a Hunspell one when it is NAME.dic
// with NAME.aff beside it, else a word list.
Language NamedFile(const std::string& file, const std::string& tag) {
  if (file.size() > 4 && file.ends_with(".dic") &&
      IsFile(file.substr(0, file.size() - 4) + ".aff")) {
    Language hunspell = HunspellAt(file);
    hunspell.tag = tag;
    return hunspell;
  }
  return {tag, Kind::WordList, file, {}};
}

}  // namespace

engine::MainDictionary MainOf(const Language& language) {
  engine::MainDictionary main;
  main.file = language.file;
  main.aff = language.aff;
  const std::string& file = language.file;
  if (const auto dot = file.rfind(".dic");
      language.kind == Kind::WordList && dot != std::string::npos && dot + 4 == file.size()) {
    const std::string levels = file.substr(0, dot) + ".levels";
    if (IsFile(levels)) main.levels = levels;
  }
  main.englishSounds = language.tag.empty() || language.tag.starts_with("en_");
  return main;
}

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
    set.mains.push_back(
        MainOf(NamedFile(!options.main.empty() ? options.main : environmentMain, first)));
  } else {
    for (const Language& language : languages) {
      set.mains.push_back(MainOf(language));
    }
  }
  if (!options.noCustom) {
    std::string custom = options.custom;
    if (custom.empty()) custom = Environment("SPELLCHECK_CUSTOM");
    if (custom.empty()) {
      custom = UserDataFolder() + CustomFileName(first);
      run.customIsDefault = true;
    }
    set.custom = custom;
  }
  set.extra = options.extra;
  if (set.Further().size() > engine::MaxFurtherDictionaries) {
    throw Error("too many dictionaries: at most ten besides the main one (the custom one counts)");
  }
  // The other languages' own custom dictionaries count too (after the
  // custom one; they need not exist).
  if (run.customIsDefault) {
    std::size_t at = 0;
    for (std::size_t k = 1; k < languages.size(); ++k) {
      const std::string other = UserDataFolder() + CustomFileName(languages[k].tag);
      if (other != *set.custom) set.extra.insert(set.extra.begin() + at++, other);
    }
  }
  return run;
}

void RequireReadable(store::FileSystem& fs, const std::string& path, const std::string& role) {
  if (path.empty()) {
    throw Error("no " + role +
                " dictionary: the bundled one was not found; name one with --main FILE or "
                "SPELLCHECK_MAIN");
  }
  // The store's open never blocks and takes regular files only.
  std::unique_ptr<store::File> file;
  if (fs.Open(path, store::Access::Read, store::Disposition::OpenExisting, file) !=
      store::code::Ok) {
    throw Error("cannot read the " + role + " dictionary " + path);
  }
}

void PrepareCustomFolder(const RunDictionaries& dictionaries) {
  const auto& custom = dictionaries.set.custom;
  if (!custom || !dictionaries.customIsDefault) return;
  const auto folder = std::filesystem::path(*custom).parent_path();
  if (folder.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw Error("cannot make the folder " + folder.string() + ": " + error.message());
}

engine::Speller MakeSpeller(store::FileSystem& fs, const RunDictionaries& dictionaries,
                            Reading reading) {
  return MakeSpeller(fs, dictionaries, reading, RunCache(fs));
}

compiled::Cache RunCache(store::FileSystem& fs) {
  return compiled::Cache(fs, CacheFolder(), SharedCacheFolders());
}

engine::Speller MakeSpeller(store::FileSystem& fs, const RunDictionaries& dictionaries,
                            Reading reading, const compiled::Cache& cache) {
  if (dictionaries.set.mains.empty()) RequireReadable(fs, std::string(), "main");
  for (const engine::MainDictionary& main : dictionaries.set.mains) {
    RequireReadable(fs, main.file, "main");
  }
  auto source = reading == Reading::EachLookup
                    ? engine::ReadEachCall(fs)
                    : engine::KeepInMemory(fs, {engine::Recheck::When::OnRefresh, {}}, cache);
  return engine::Speller(std::make_unique<engine::Engine>(fs, std::move(source)), dictionaries.set,
                         reading == Reading::InMemory, cache);
}

}  // namespace spellcheck::catalogue
