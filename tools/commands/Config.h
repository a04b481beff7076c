// The config file, .spellcheck.toml: the nearest one from a checked file's
// folder up (or the one --config names; none with --no-config) says which
// dictionaries and languages a run uses, further word lists, what a tree
// walk leaves out and which filter reads which files:
//
//   languages = ["en_US"]
//   words = ["docs/words.txt"]          # further project word lists
//   exclude = ["build/", "*.min.js"]    # .gitignore patterns
//   [dictionaries]
//   main = "dict/main.dic"
//   custom = "dict/custom.dic"
//   extra = ["dict/names.dic"]
//   [modes]                             # glob = mode, the last match wins
//   "*.txt" = "markdown"
//   identifiers = true                  # check definitions' names, accept the run's
//   min-word-length = 4                 # shorter words are not reported
//   [vocabularies]                      # by mode ("all": every other mode)
//   python = ["english", "software", "python"]
//
// Relative paths and patterns start at the config file's folder. The
// command line wins over the config, the config over the environment and the
// defaults. A key it does not know, a value of the wrong type or a file that
// is not TOML is an error naming the file and line.
#ifndef SPELLCHECK_TOOL_COMMANDS_CONFIG_H
#define SPELLCHECK_TOOL_COMMANDS_CONFIG_H

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/RunDictionaries.h"
#include "tree/Glob.h"
#include "tree/IgnoreRules.h"

namespace spellcheck::tool {

inline constexpr std::string_view ConfigFileName = ".spellcheck.toml";

// A value of the config and the line it is written on.
template <typename T>
struct ConfigSetting {
  T value{};
  std::size_t line = 0;
  bool set = false;
};

struct ModeRule {
  Glob glob;
  std::string mode;
  std::size_t line = 0;
};

struct Config {
  std::filesystem::path file;    // empty: no config file, nothing set
  std::filesystem::path folder;  // its folder, absolute: where its paths start
  // Paths made absolute against `folder`.
  ConfigSetting<std::string> main;
  ConfigSetting<std::string> custom;
  ConfigSetting<std::vector<std::string>> extra;
  ConfigSetting<std::vector<std::string>> languages;
  ConfigSetting<std::vector<std::string>> words;
  ConfigSetting<std::vector<std::string>> exclude;  // as written
  IgnoreRules excludeRules;
  std::vector<ModeRule> modes;  // in the file's order
  ConfigSetting<bool> identifiers;
  ConfigSetting<std::size_t> minWordLength;
  // [vocabularies]: the vocabularies of a mode, or of "all" the others.
  std::map<std::string, ConfigSetting<std::vector<std::string>>> vocabularies;

  // "FILE:LINE", for messages.
  std::string Where(std::size_t line) const;
  // The rule of [modes] that chooses the filter of a file (absolute,
  // normal): the last that matches; nullptr when none does.
  const ModeRule* ModeFor(const std::filesystem::path& file) const;
  // The vocabularies on for files of `mode`: the config's, else the
  // defaults; `line` tells where the config says so (0: the default).
  // `english`: the run is in English (see DefaultVocabularies).
  std::vector<std::string> VocabulariesFor(const std::string& mode, std::size_t* line,
                                           bool english) const;
  // Whether `exclude` leaves out an entry (absolute, normal) of a walk.
  bool Excludes(const std::filesystem::path& entry, bool isFolder) const;
};

// The known keys, for help: "languages, words, exclude, dictionaries
// (main, custom, extra), modes".
std::string ConfigKeyNames();

// Reads a config file; throws ToolError naming FILE:LINE (and the column,
// for TOML syntax) on any problem.
Config ReadConfig(const std::filesystem::path& file);

// Which config is in force for a folder's files, each file and folder read
// once.
class ConfigFinder {
 public:
  // `named`: the one config for every file (--config); `none`: no config.
  ConfigFinder(const std::string& named, bool none);
  // For the files of `folder` (absolute, normal).
  const Config& For(const std::filesystem::path& folder);

 private:
  Config none_;
  std::unique_ptr<Config> named_;
  bool noConfig_ = false;
  std::map<std::filesystem::path, const Config*> byFolder_;
  std::map<std::filesystem::path, std::unique_ptr<Config>> byFile_;
};

// The dictionary options of the command line with what it leaves open
// taken from the config.
catalogue::DictionaryOptions WithConfig(const catalogue::DictionaryOptions& commandLine,
                                        const Config& config);

}  // namespace spellcheck::tool

#endif
