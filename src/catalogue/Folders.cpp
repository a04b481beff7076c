#include "catalogue/Folders.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace spellcheck::catalogue {
namespace {

// A list of folders, as PATH is written.
#ifdef _WIN32
constexpr char Separator = ';';
#else
constexpr char Separator = ':';
#endif

std::vector<std::string> SplitFolders(const std::string& list) {
  std::vector<std::string> folders;
  for (std::size_t begin = 0; begin < list.size();) {
    std::size_t end = list.find(Separator, begin);
    if (end == std::string::npos) end = list.size();
    if (end > begin) folders.push_back(list.substr(begin, end - begin));
    begin = end + 1;
  }
  return folders;
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

// $XDG_DATA_HOME, else ~/.local/share; empty without a home.
std::string DataHome() {
  std::string dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.empty()) {
    const std::string home = Environment("HOME");
    if (!home.empty()) dataHome = home + "/.local/share";
  }
  return dataHome;
}

}  // namespace

std::string CacheFolder() {
  if (InEnvironment("SPELLCHECK_CACHE")) return Environment("SPELLCHECK_CACHE");
#if defined(_WIN32)
  const std::string local = Environment("LOCALAPPDATA");
  if (!local.empty()) return local + "/spellcheck";
#endif
  const std::string cacheHome = Environment("XDG_CACHE_HOME");
  // Relative paths are not to be used, by the XDG rules.
  if (!cacheHome.empty() && cacheHome.front() == '/') return cacheHome + "/spellcheck";
  const std::string home = Environment("HOME");
  return home.empty() ? std::string() : home + "/.cache/spellcheck";
}

std::vector<std::string> SharedCacheFolders() {
  if (InEnvironment("SPELLCHECK_CACHE") && Environment("SPELLCHECK_CACHE").empty()) return {};
  std::vector<std::string> folders;
  for (const std::string& data : DataFolders()) folders.push_back(data + "/compiled");
#if defined(SPELLCHECK_SYSTEM_CACHE)
  folders.push_back(SPELLCHECK_SYSTEM_CACHE);
#endif
  return folders;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool InEnvironment(const char* name) {
#if defined(_WIN32)
  // The C runtime hides variables set to nothing; the system does not.
  char value[1];
  ::SetLastError(ERROR_SUCCESS);
  return ::GetEnvironmentVariableA(name, value, sizeof value) > 0 ||
         ::GetLastError() != ERROR_ENVVAR_NOT_FOUND;
#else
  return std::getenv(name) != nullptr;
#endif
}

bool IsFile(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

std::string UserDataFolder() {
  const std::string dataHome = DataHome();
  return dataHome.empty() ? std::string() : dataHome + "/spellcheck/";
}

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders = SplitFolders(Environment("SPELLCHECK_DATA"));
  const bool named = !folders.empty();
  if (const std::string user = UserDataFolder(); !user.empty()) {
    folders.push_back(user.substr(0, user.size() - 1));
  }
  if (named) return folders;
  const auto program = ProgramFile();
  if (!program.empty()) {
    folders.push_back((program.parent_path().parent_path() / "share" / "spellcheck").string());
  }
  folders.push_back(SPELLCHECK_DATA_DIR);
  return folders;
}

std::vector<std::string> HunspellFolders() {
  if (InEnvironment("SPELLCHECK_HUNSPELL_PATH")) {
    return SplitFolders(Environment("SPELLCHECK_HUNSPELL_PATH"));
  }
  std::vector<std::string> folders = SplitFolders(Environment("DICPATH"));
  if (const std::string dataHome = DataHome(); !dataHome.empty()) {
    folders.push_back(dataHome + "/hunspell");
  }
#ifndef _WIN32
  folders.push_back("/usr/share/hunspell");
  folders.push_back("/usr/share/myspell");
#endif
  return folders;
}

}  // namespace spellcheck::catalogue
