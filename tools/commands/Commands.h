// The tool's commands. Each returns the exit status (ExitOk, ExitFound) and
// throws ToolError or the library's errors for usage and input/output errors.
// Every file goes through the file system handed in.
#ifndef SPELLCHECK_TOOL_COMMANDS_H
#define SPELLCHECK_TOOL_COMMANDS_H

#include <optional>
#include <string>
#include <vector>

#include "catalogue/RunDictionaries.h"
#include "store/FileSystem.h"

namespace spellcheck::tool {

// How suggestions are given: ranked (best first) or the library's
// positional list, and how many at most.
struct SuggestOptions {
  bool positional = false;
  std::size_t max = 10;
  engine::Speller::Order Order() const {
    return positional ? engine::Speller::Order::Positional : engine::Speller::Order::Ranked;
  }
};

int RunCheck(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
             const std::vector<std::string>& words);
int RunSuggest(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
               const SuggestOptions& suggestions, const std::vector<std::string>& words);

struct ListOptions {
  std::vector<std::string> files;  // none, or "-": standard input
  bool suggest = false;
  bool where = false;
  // The document filter: empty chooses by each file's name (standard input
  // is text); "text" is none.
  std::string mode;
  SuggestOptions suggestions;
  std::string format = "text";         // text, json, sarif or github
  std::vector<std::string> wordLists;  // --words: words that count as correct
  std::string configFile;              // --config: the one config file
  bool noConfig = false;               // --no-config
  unsigned jobs = 0;                   // --jobs: files checked at once; 0: one a core
};
// Files and folders (walked), and "-" for standard input.
int RunList(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
            const ListOptions& list);
// The number of threads that --jobs N asks for (0: one a core).
unsigned ListJobs(unsigned asked);

// config [PATH]: the settings in force for a folder's files (or a file's),
// each with where it comes from.
struct ConfigOptions {
  std::string path = ".";
  std::string configFile;
  bool noConfig = false;
  std::string mode;
  std::vector<std::string> wordLists;
};
int RunConfig(const catalogue::DictionaryOptions& options, const ConfigOptions& config);

// fix: the misspelled words of texts one by one, each answered with a key
// (FixKeysHelp), and the texts written back when something changed.
struct FixOptions {
  std::vector<std::string> files;
  std::string mode;                    // as for list
  std::vector<std::string> wordLists;  // --words
};
int RunFix(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
           const FixOptions& fix);
// The keys of fix and what they do, for --help and the ? key.
std::string FixKeysHelp();

int RunAdd(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
           const std::vector<std::string>& words, const std::string& to);
// `also`: the second dictionary; an empty name means the custom one.
int RunDelete(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
              const std::vector<std::string>& words, const std::string& from,
              const std::optional<std::string>& also);
int RunMerge(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
             const std::string& source, const std::string& target);

struct BuildOptions {
  std::vector<std::string> wordLists;
  std::string output;
  std::string encoding = "UTF-8";
  bool quiet = false;  // no report of the words left out
};
int RunBuild(store::FileSystem& fs, const BuildOptions& build);
int RunDump(store::FileSystem& fs, const std::string& file, const std::string& encoding);
int RunVerify(store::FileSystem& fs, const std::string& file);
// The installed languages (tag, words, file), then the languages and the
// dictionaries that the options choose, and which are compiled.
int RunDicts(store::FileSystem& fs, const catalogue::DictionaryOptions& options);

// compile: the compiled forms of the run's main dictionaries (`all`: of every
// installed language) into the cache folder, or the folder `into`.
struct CompileOptions {
  bool all = false;
  std::string into;
};
int RunCompile(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
               const CompileOptions& compile);
// What dicts says of a main dictionary's compiled forms in the cache folder.
std::string CompiledState(store::FileSystem& fs, const engine::MainDictionary& main);

// What --version prints (without a last newline): "spellcheck VERSION", then
// the dictionaries in the bundled dictionary's folder, each with its number of
// words and, where known at build time, the package and version its words
// come from.
std::string VersionText();

// The ispell pipe (-a): its own argument parsing, as ispell clients expect.
int RunPipe(store::FileSystem& fs, const std::vector<std::string>& arguments);
// True when the arguments ask for the pipe (or its -v banner).
bool WantsPipe(const std::vector<std::string>& arguments);

// ispell's list mode (-l), as editors call it for a large region: the
// misspelled words of standard input, one a line; ispell's options as for
// the pipe. Exits 0 whatever it found, as ispell does.
int RunIspellList(store::FileSystem& fs, const std::vector<std::string>& arguments);
bool WantsIspellList(const std::vector<std::string>& arguments);

}  // namespace spellcheck::tool

#endif
