// config [PATH]: the settings in force for PATH's files, each with its value
// and where it comes from, in TOML's notation with a comment:
//   languages = ["en_US"]  # /repo/.spellcheck.toml:3
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "catalogue/Catalogue.h"
#include "catalogue/Folders.h"
#include "commands/Commands.h"
#include "commands/Config.h"
#include "errors/ToolError.h"
#include "filters/Filter.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "tree/TreeWalk.h"
#include "vocabularies/ProjectWords.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::tool {
namespace {

namespace fs = std::filesystem;

// A TOML basic string.
std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string List(const std::vector<std::string>& values) {
  std::string list = "[";
  const char* separator = "";
  for (const std::string& value : values) {
    list += separator + Quote(value);
    separator = ", ";
  }
  return list + "]";
}

class Printer {
 public:
  explicit Printer(Output& out) : out_(out) {}
  void Line(const std::string& key, const std::string& value, const std::string& from) {
    out_ << key << " = " << value << "  # " << from << "\n";
  }

 private:
  Output& out_;
};

}  // namespace

int RunConfig(const catalogue::DictionaryOptions& options, const ConfigOptions& request) {
  if (!request.mode.empty()) MakeFilter(request.mode);
  std::error_code error;
  const fs::path path = NormalPath(request.path);
  if (!fs::exists(path, error)) throw ToolError(request.path + ": no such file or folder");
  const bool isFolder = fs::is_directory(path, error);
  const fs::path folder = isFolder ? path : path.parent_path();

  ConfigFinder finder(request.configFile, request.noConfig);
  const Config& config = finder.For(folder);
  TextCodec codec(options.encoding);
  Output out(STDOUT_FILENO, codec);
  Printer print(out);
  out << "# The settings for " << (isFolder ? "the files of " : "") << path.string() << "\n";

  if (request.noConfig) {
    print.Line("config", Quote(""), "command line (--no-config): none");
  } else if (!request.configFile.empty()) {
    print.Line("config", Quote(config.file.string()), "command line (--config)");
  } else if (config.file.empty()) {
    print.Line("config", Quote(""),
               "none: no " + std::string(ConfigFileName) + " in " + folder.string() +
                   " or a folder above it");
  } else {
    print.Line("config", Quote(config.file.string()), "the nearest, from " + folder.string());
  }

  const catalogue::RunDictionaries run =
      catalogue::ResolveDictionaries(WithConfig(options, config));
  std::string from;
  if (!options.main.empty()) {
    from = "command line (--main)";
  } else if (config.main.set) {
    from = config.Where(config.main.line);
  } else if (!options.languages.empty() || config.languages.set) {
    from = "the dictionaries of the languages named";
  } else if (!catalogue::Environment("SPELLCHECK_MAIN").empty()) {
    from = "environment (SPELLCHECK_MAIN)";
  } else {
    from = run.set.mains.empty() ? "default: the language's dictionary, which is missing"
                                 : "default: the language's dictionary";
  }
  std::string mains;
  for (const auto& main : run.set.mains) mains += (mains.empty() ? "" : ", ") + Quote(main.file);
  print.Line("dictionaries.main", run.set.mains.size() > 1 ? "[" + mains + "]" : mains, from);

  if (options.noCustom) {
    from = "command line (--no-custom): none";
  } else if (!options.custom.empty()) {
    from = "command line (--custom)";
  } else if (config.custom.set) {
    from = config.Where(config.custom.line);
  } else if (!catalogue::Environment("SPELLCHECK_CUSTOM").empty()) {
    from = "environment (SPELLCHECK_CUSTOM)";
  } else {
    from = "default: $XDG_DATA_HOME/spellcheck/cust.dic";
  }
  print.Line("dictionaries.custom", Quote(run.set.custom.value_or("")), from);

  if (!options.extra.empty()) {
    from = "command line (--dic)";
  } else if (config.extra.set) {
    from = config.Where(config.extra.line);
  } else {
    from = "default: none";
  }
  print.Line("dictionaries.extra", List(run.set.extra), from);

  if (!options.languages.empty()) {
    print.Line("languages", List(options.languages), "command line");
  } else if (config.languages.set) {
    print.Line("languages", List(config.languages.value), config.Where(config.languages.line));
  } else {
    // Named nowhere here: $SPELLCHECK_LANG, the locale or en_US, unless the
    // main dictionary is a file named in the environment.
    const catalogue::RunLanguages languages =
        catalogue::ResolveLanguages({}, !catalogue::Environment("SPELLCHECK_MAIN").empty());
    std::vector<std::string> tags;
    for (const catalogue::Language& language : languages.languages) tags.push_back(language.tag);
    print.Line("languages", List(tags),
               languages.from.empty() ? std::string("none: the main dictionary is a file")
                                      : languages.from);
  }

  std::vector<std::string> words = request.wordLists;
  std::string wordsFrom;
  if (!request.wordLists.empty()) wordsFrom = "command line (--words)";
  if (config.words.set) {
    words.insert(words.end(), config.words.value.begin(), config.words.value.end());
    wordsFrom += (wordsFrom.empty() ? "" : "; ") + config.Where(config.words.line);
  }
  print.Line("words", List(words), wordsFrom.empty() ? "default: none" : wordsFrom);
  const std::optional<fs::path> project = FindProjectWords(folder);
  print.Line("project-words", Quote(project ? project->string() : ""),
             project
                 ? "the nearest " + std::string(ProjectWordsFileName) + ", from " + folder.string()
                 : "none: no " + std::string(ProjectWordsFileName) + " in " + folder.string() +
                       " or a folder above it");

  if (config.exclude.set) {
    print.Line("exclude", List(config.exclude.value), config.Where(config.exclude.line));
  } else {
    print.Line("exclude", List({}), "default: none (hidden and .gitignore'd files are left out)");
  }
  if (config.modes.empty()) {
    print.Line("modes", "{}", "default: by the file's extension");
  }
  for (const ModeRule& rule : config.modes) {
    print.Line("modes." + Quote(rule.glob.Pattern()), Quote(rule.mode), config.Where(rule.line));
  }
  print.Line("identifiers", !config.identifiers.set || config.identifiers.value ? "true" : "false",
             config.identifiers.set ? config.Where(config.identifiers.line)
                                    : "default: definitions checked, their names words of the run");
  print.Line(
      "min-word-length",
      std::to_string(config.minWordLength.set ? config.minWordLength.value : DefaultMinWordLength),
      config.minWordLength.set ? config.Where(config.minWordLength.line) : "default");
  for (const auto& [mode, setting] : config.vocabularies) {
    print.Line("vocabularies." + mode, List(setting.value), config.Where(setting.line));
  }
  if (!isFolder) {
    // The vocabularies of the file's kind.
    std::string mode = request.mode;
    if (mode.empty()) {
      const ModeRule* rule = config.ModeFor(path);
      mode = rule ? rule->mode : ModeForFile(path.string());
    }
    std::size_t line = 0;
    const std::vector<std::string> vocabularies =
        config.VocabulariesFor(mode, &line, IsEnglishRun(run));
    print.Line("vocabularies", List(vocabularies),
               line != 0 ? config.Where(line) : "default for " + mode + " files");
  }
  if (!isFolder) {
    if (!request.mode.empty()) {
      print.Line("mode", Quote(request.mode), "command line (--mode)");
    } else if (const ModeRule* rule = config.ModeFor(path)) {
      print.Line("mode", Quote(rule->mode),
                 config.Where(rule->line) + " (modes." + Quote(rule->glob.Pattern()) + ")");
    } else {
      print.Line("mode", Quote(ModeForFile(path.string())), "default: by the file's extension");
    }
  } else if (!request.mode.empty()) {
    print.Line("mode", Quote(request.mode), "command line (--mode)");
  }
  out.Flush();
  return ExitOk;
}

}  // namespace spellcheck::tool
