#include "support/TestFiles.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "store/TvarWord.h"

namespace spellcheck::testing {

#if defined(_WIN32)
TempDir::TempDir() {
  // No mkdtemp: try fresh names until one can be made.
  static unsigned counter = 0;
  const std::string base = std::filesystem::temp_directory_path().string() + "spellcheck-test-" +
                           std::to_string(::GetCurrentProcessId()) + "-";
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string candidate = base + std::to_string(++counter);
    if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("cannot make a scratch folder");
}
#else
TempDir::TempDir() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/spellcheck-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  // Unprivileged children work in here too.
  ::chmod(path_.c_str(), 0777);
}
#endif

TempDir::~TempDir() {
  std::error_code ignored;
  // Folders made read-only by a test must be writable again to be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
#if defined(_WIN32)
    // Windows deletes no file that has the read-only attribute.
    const bool locked = true;
#else
    const bool locked = it->is_directory(ignored);
#endif
    if (locked) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string RecordBytes(const std::string& word, char filler) {
  std::string bytes(store::RecordSize, filler);
  const std::size_t n = std::min(word.size(), store::MaxWordLength);
  bytes[0] = static_cast<char>(n);
  std::copy_n(word.begin(), n, bytes.begin() + 1);
  return bytes;
}

void WriteDictionary(const std::string& path, const std::vector<std::string>& words) {
  std::string bytes;
  for (const auto& word : words) bytes += RecordBytes(word);
  WriteBytes(path, bytes);
}

std::vector<std::string> ReadDictionary(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  std::vector<std::string> words;
  for (std::size_t at = 0; at + store::RecordSize <= bytes.size(); at += store::RecordSize) {
    const auto length = std::min<std::size_t>(static_cast<unsigned char>(bytes[at]), 24);
    words.push_back(bytes.substr(at + 1, length));
  }
  return words;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#if defined(_WIN32)
bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

// Windows has no root privileges to drop and no fork: the body runs here.
int RunUnprivileged(const std::function<int()>& body) {
  try {
    return body();
  } catch (...) {
    return 127;
  }
}

// GetProcessHandleCount answers 0 under Wine, so the handle table is probed
// instead: handle values are multiples of 4, handed out lowest first, so the
// count stops after a long run of values that name no handle.
int OpenDescriptorCount() {
  constexpr int GapAfterLastHandle = 256;
  int count = 0;
  int unused = 0;
  for (ULONG_PTR value = 4; unused < GapAfterLastHandle; value += 4) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return count;
}
#else
bool FileExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

int RunUnprivileged(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::geteuid() == 0) {
      // nobody/nogroup: 65534 on Debian.
      if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
        ::_exit(125);
      }
    }
    int status = 126;
    try {
      status = body();
    } catch (...) {
      status = 127;
    }
    ::_exit(status);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int OpenDescriptorCount() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(dir);
    --count;  // the descriptor of the listing itself
  }
  return count;
}
#endif

}  // namespace spellcheck::testing
