// spellcheck: checks texts, suggests, maintains dictionaries and serves
// editors through the ispell pipe.
#include <spellcheck/SpellCheck.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <new>

#include "commands/Commands.h"
#include "commands/Config.h"
#include "errors/ToolError.h"
#include "filters/Filter.h"
#include "lsp/Server.h"
#include "output/Report.h"
#include "vocabularies/ProjectWords.h"

namespace spellcheck::tool {
namespace {

void AddDictionaryOptions(CLI::App& app, catalogue::DictionaryOptions& options) {
  app.add_option("-d,--lang", options.languages,
                 "Languages by tag, several separated by commas (en_GB, de_DE, en_US,de_DE), or a "
                 "Hunspell dictionary by its path (dir/de_DE, dir/de_DE.aff); "
                 "default: $SPELLCHECK_LANG, else the locale's, else en_US")
      ->delimiter(',')
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--main", options.main,
                 "Main dictionary file, instead of the languages' (default: $SPELLCHECK_MAIN)");
  app.add_option("--custom", options.custom,
                 "Custom dictionary (default: $SPELLCHECK_CUSTOM, else "
                 "$XDG_DATA_HOME/spellcheck/cust.dic)");
  app.add_option("--dic", options.extra,
                 "A further dictionary, consulted after the custom one (repeatable, in order)")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_flag("--no-custom", options.noCustom, "Use no custom dictionary");
  app.add_flag("--ignore-case", options.ignoreCase,
               "Accept words that differ from a dictionary's only in the case of A-Z");
  app.add_option("--encoding", options.encoding, "Encoding of texts, words and output (iconv name)")
      ->capture_default_str();
}

int Run(store::FileSystem& fs, int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (WantsIspellList(arguments)) return RunIspellList(fs, arguments);
  if (WantsPipe(arguments)) {
    if (!arguments.empty() && arguments.front() == "pipe") arguments.erase(arguments.begin());
    return RunPipe(fs, arguments);
  }

  CLI::App app{"spellcheck: checks the spelling of texts against word-list dictionaries",
               "spellcheck"};
  app.require_subcommand(1);
  app.set_version_flag(
      "-V,--version", [] { return VersionText(); },
      "Print the version and the dictionaries' versions, and exit");
  catalogue::DictionaryOptions options;
  AddDictionaryOptions(app, options);
  app.footer(
      "Also: spellcheck -a (or: spellcheck pipe) speaks the ispell pipe protocol for editors;\n"
      "spellcheck -l lists the misspelled words of standard input, as ispell -l does.\n"
      "Exit status: 0 all correct, 1 something found, 2 usage or input/output error.");

  std::vector<std::string> words;
  auto* check = app.add_subcommand("check", "Say for each word whether it is spelt correctly");
  check->add_option("words", words, "Words to check")->required();
  SuggestOptions suggestions;
  const auto addSuggestOptions = [&suggestions](CLI::App* command) {
    command->add_option("--max", suggestions.max, "At most N suggestions for a word")
        ->check(CLI::Range(1, 1000))
        ->capture_default_str();
    command->add_flag("--positional", suggestions.positional,
                      "The library's list instead: stored words that agree with the word in "
                      "most positions, in byte order");
  };
  auto* suggest =
      app.add_subcommand("suggest",
                         "Suggest spellings for each word, best first (near in spelling and sound, "
                         "common words first)");
  suggest->add_option("words", words, "Words")->required();
  addSuggestOptions(suggest);

  ListOptions list;
  auto* listCommand = app.add_subcommand(
      "list",
      "List the misspelled words of texts, one a line; folders are walked (hidden, binary and "
      ".gitignore'd files left out) and checked on all cores, the output in order");
  listCommand->add_option("files", list.files,
                          "Texts and folders (default: standard input; - for it)");
  listCommand->add_flag("--suggest", list.suggest, "Add suggestions, best first: word: s1, s2");
  listCommand->add_flag("--where", list.where, "Prefix FILE:LINE:COLUMN: to each word");
  listCommand->add_option("--mode", list.mode,
                          "Document filter (default: by file extension; standard input is "
                          "text): " +
                              ModeNames());
  listCommand->add_option("--format", list.format, "Output format: " + FormatNames())
      ->capture_default_str();
  listCommand
      ->add_option("--words", list.wordLists,
                   "A word list (one word a line) whose words count as correct (repeatable); "
                   "the nearest .spellcheck-words.txt counts too")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  addSuggestOptions(listCommand);
  const std::string configKeys =
      "Config file keys (" + std::string(ConfigFileName) +
      ", the nearest from each file's folder up; relative paths start at its folder):\n"
      "  languages = [\"en_US\"]              language tags\n"
      "  words = [\"docs/words.txt\"]         further word lists whose words count as correct\n"
      "  exclude = [\"build/\", \"*.min.js\"]   .gitignore patterns a folder walk leaves out\n"
      "  [dictionaries]  main = \"a.dic\"  custom = \"b.dic\"  extra = [\"c.dic\"]\n"
      "  [modes]         \"*.txt\" = \"markdown\"   glob = document filter (last match wins)\n"
      "The command line wins over the config, the config over the environment and defaults.";
  const auto addConfigOptions = [](CLI::App* command, std::string& file, bool& none) {
    auto* fileOption =
        command->add_option("--config", file,
                            "Use this config file for every file (default: the nearest " +
                                std::string(ConfigFileName) + ")");
    command->add_flag("--no-config", none, "Use no config file")->excludes(fileOption);
  };
  addConfigOptions(listCommand, list.configFile, list.noConfig);
  listCommand
      ->add_option("-j,--jobs", list.jobs,
                   "Files checked at once (default: one for each core; the output is the same)")
      ->check(CLI::Range(1u, 1024u));
  listCommand->footer(configKeys);

  ConfigOptions configRequest;
  auto* configCommand = app.add_subcommand(
      "config",
      "Print the settings in force for PATH's files (default: the current folder), each with "
      "where it comes from");
  configCommand->add_option("path", configRequest.path, "A folder or a file");
  addConfigOptions(configCommand, configRequest.configFile, configRequest.noConfig);
  configCommand->add_option("--mode", configRequest.mode, "Document filter, as for list");
  configCommand
      ->add_option("--words", configRequest.wordLists, "A word list, as for list (repeatable)")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  configCommand->footer(configKeys);

  FixOptions fix;
  auto* fixCommand = app.add_subcommand(
      "fix", "Correct texts word by word, each misspelled word answered with a key");
  fixCommand->add_option("files", fix.files, "Texts to correct")->required();
  fixCommand->add_option("--mode", fix.mode, "Document filter, as for list: " + ModeNames());
  fixCommand->add_option("--words", fix.wordLists, "A word list of correct words, as for list")
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  fixCommand->footer(FixKeysHelp());

  std::string to;
  auto* add = app.add_subcommand("add", "Add words to the custom dictionary");
  add->add_option("words", words, "Words to add")->required();
  auto* toOption = add->add_option("--to", to, "Dictionary to add to (default: the custom one)");
  bool project = false;
  add->add_flag("--project", project,
                "Append the words to the nearest .spellcheck-words.txt (made in the current "
                "folder when there is none)")
      ->excludes(toOption);

  std::string from;
  std::optional<std::string> also;
  std::string alsoName;
  auto* remove = app.add_subcommand("delete", "Delete words from the main dictionary");
  remove->add_option("words", words, "Words to delete")->required();
  remove->add_option("--from", from, "Dictionary to delete from (default: the main one)");
  auto* alsoOption = remove->add_option(
      "--also", alsoName, "When the first dictionary lacks a word, delete it from DIC instead");
  bool alsoCustom = false;
  remove
      ->add_flag("--also-custom", alsoCustom,
                 "When the first dictionary lacks a word, delete it from the custom one")
      ->excludes(alsoOption);

  std::string source;
  std::string target;
  auto* merge =
      app.add_subcommand("merge", "Move every word of SOURCE into TARGET and delete SOURCE");
  merge->add_option("source", source, "Default: the custom dictionary");
  merge->add_option("target", target, "Default: the main dictionary");

  BuildOptions build;
  auto* buildCommand =
      app.add_subcommand("build", "Make a dictionary from word lists (one word a line)");
  buildCommand->add_option("wordlists", build.wordLists, "Word lists (- for standard input)")
      ->required();
  buildCommand->add_option("-o,--output", build.output, "The dictionary to write")->required();
  buildCommand->add_flag("--quiet", build.quiet, "Do not report words left out");

  std::string file;
  auto* dump = app.add_subcommand("dump", "Print a dictionary's words, one a line");
  dump->add_option("file", file, "Dictionary")->required();
  auto* verify =
      app.add_subcommand("verify",
                         "Check a dictionary's records, or the lines of a Hunspell dictionary "
                         "(FILE.aff or .dic); exit 1 on any problem");
  verify->add_option("file", file, "Dictionary")->required();

  auto* dicts = app.add_subcommand("dicts",
                                   "List the installed languages (tag, kind, words or stems, file) "
                                   "and the dictionaries of this run");
  CompileOptions compile;
  auto* compileCommand = app.add_subcommand(
      "compile",
      "Compile the run's main dictionaries now (each run does it at first use) into the cache "
      "folder: $SPELLCHECK_CACHE, else $XDG_CACHE_HOME/spellcheck or ~/.cache/spellcheck");
  compileCommand->add_flag("--all", compile.all, "Compile every installed language");
  compileCommand->add_option("--into", compile.into,
                             "Write into FOLDER instead (a shared folder for all users, say); "
                             "runs read it when $SPELLCHECK_CACHE names it");
  auto* lsp = app.add_subcommand(
      "lsp", "Serve editors as a language server on standard input and output (LSP)");

  for (CLI::App* command : app.get_subcommands({})) command->fallthrough();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? ExitOk : ExitError;
  }

  if (alsoOption->count() > 0) also = alsoName;
  if (alsoCustom) also = std::string();  // empty: the custom dictionary
  build.encoding = options.encoding;
  if (*check) return RunCheck(fs, options, words);
  list.suggestions = suggestions;
  if (*suggest) return RunSuggest(fs, options, suggestions, words);
  if (*listCommand) return RunList(fs, options, list);
  if (*fixCommand) return RunFix(fs, options, fix);
  if (*configCommand) return RunConfig(options, configRequest);
  if (*add && project) return RunAddProject(words, options.encoding);
  if (*add) return RunAdd(fs, options, words, to);
  if (*remove) return RunDelete(fs, options, words, from, also);
  if (*merge) return RunMerge(fs, options, source, target);
  if (*buildCommand) return RunBuild(fs, build);
  if (*dicts) return RunDicts(fs, options);
  if (*compileCommand) return RunCompile(fs, options, compile);
  if (*lsp) return lsp::RunLanguageServer(fs, options);
  if (*dump) return RunDump(fs, file, options.encoding);
  return RunVerify(fs, file);
}

}  // namespace
}  // namespace spellcheck::tool

int main(int argc, char** argv) {
  using namespace spellcheck::tool;
  try {
    return Run(spellcheck::store::FileSystem::Default(), argc, argv);
  } catch (const ToolError& error) {
    std::cerr << "spellcheck: " << error.what() << "\n";
  } catch (const spellcheck::Exception& error) {
    std::cerr << "spellcheck: " << error.what() << "\n";
  } catch (const std::bad_alloc&) {
    std::cerr << "spellcheck: out of memory\n";
  } catch (const std::exception& error) {
    std::cerr << "spellcheck: " << error.what() << "\n";
  }
  return ExitError;
}
