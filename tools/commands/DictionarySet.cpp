#include "commands/DictionarySet.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "commands/ToolError.h"

namespace spellcheck::tool {
namespace {

constexpr const char* BundledName = "english.dic";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string DefaultCustom() {
  std::string dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.empty()) {
    const std::string home = Environment("HOME");
    if (home.empty()) return "cust.dic";
    dataHome = home + "/.local/share";
  }
  return dataHome + "/spellcheck/cust.dic";
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

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

std::string BundledDictionary() {
  const auto program = ProgramFile();
  if (!program.empty()) {
    const auto beside = program.parent_path().parent_path() / "share" / "spellcheck" / BundledName;
    if (IsFile(beside)) return beside.string();
  }
  const auto installed = std::filesystem::path(SPELLCHECK_DATA_DIR) / BundledName;
  return IsFile(installed) ? installed.string() : std::string();
}

RunDictionaries ResolveDictionaries(const DictionaryOptions& options) {
  RunDictionaries run;
  engine::DictionarySet& set = run.set;
  set.ignoreCase = options.ignoreCase;
  set.main = options.main;
  if (set.main.empty()) set.main = Environment("SPELLCHECK_MAIN");
  if (set.main.empty()) set.main = BundledDictionary();
  // How common the main dictionary's words are: NAME.levels beside NAME.dic.
  if (const auto dot = set.main.rfind(".dic");
      dot != std::string::npos && dot + 4 == set.main.size()) {
    const std::string levels = set.main.substr(0, dot) + ".levels";
    if (IsFile(levels)) set.levels = levels;
  }
  if (!options.noCustom) {
    std::string custom = options.custom;
    if (custom.empty()) custom = Environment("SPELLCHECK_CUSTOM");
    if (custom.empty()) {
      custom = DefaultCustom();
      run.customIsDefault = true;
    }
    set.custom = custom;
  }
  set.extra = options.extra;
  if (set.Further().size() > engine::MaxFurtherDictionaries) {
    throw ToolError(
        "too many dictionaries: at most ten besides the main one (the custom one counts)");
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
  RequireReadable(fs, dictionaries.set.main, "main");
  auto source = reading == Reading::EachLookup
                    ? engine::ReadEachCall(fs)
                    : engine::KeepInMemory(fs, {engine::Recheck::When::OnRefresh, {}});
  return engine::Speller(std::make_unique<engine::Engine>(fs, std::move(source)), dictionaries.set,
                         reading == Reading::InMemory);
}

}  // namespace spellcheck::tool
