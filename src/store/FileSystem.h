// The file-access layer: the only way the store reaches the operating system.
// One implementation per platform, plus a fault-injecting one for tests.
// Every call answers with an IoCode (0 on success, otherwise a code of the
// store's error table) and raises nothing; the store decides which failures
// are absorbed and which are raised.
#ifndef SPELLCHECK_STORE_FILESYSTEM_H
#define SPELLCHECK_STORE_FILESYSTEM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace spellcheck::store {

using IoCode = int;

// Codes of the store's own, besides the platform's error numbers.
namespace code {
inline constexpr IoCode Ok = 0;
inline constexpr IoCode FileNotFound = 2;
inline constexpr IoCode InvalidFilename = 3;
inline constexpr IoCode TooManyOpenFiles = 4;
inline constexpr IoCode AccessDenied = 5;
inline constexpr IoCode SharingViolation = 32;
// The name is taken (an exclusive create or a rename that must not replace).
inline constexpr IoCode AlreadyExists = 80;
inline constexpr IoCode NotSupported = 50;
inline constexpr IoCode DiskFullSystem = 112;
inline constexpr IoCode ReadBeyondEnd = 100;
inline constexpr IoCode DiskFull = 101;
inline constexpr IoCode FileNotOpen = 103;
}  // namespace code

// The longest file name the store hands to the system (260 bytes with its zero).
inline constexpr std::size_t MaxFileNameLength = 259;

struct FileInfo {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  // When the file's contents or attributes last changed (POSIX ctime), which
  // no one can set back; where the platform has none, the modification time.
  std::int64_t changedNs = 0;
  std::uint32_t mode = 0;   // permission bits
  std::uint32_t owner = 0;  // user and group, where the platform has them
  std::uint32_t group = 0;
  bool SameFile(const FileInfo& other) const {
    return device == other.device && inode == other.inode;
  }
};

enum class Access { Read, ReadWrite };

enum class Disposition {
  OpenExisting,  // never creates
  OpenAlways,    // creates when absent, never truncates
  CreateAlways,  // creates, or truncates an existing file to 0 bytes
  CreateNew,     // creates; fails when the name exists
};

// One open file. Destroying it closes it, ignoring a failure of the close.
class File {
 public:
  virtual ~File() = default;
  virtual IoCode Size(std::uint64_t& bytes) = 0;
  virtual IoCode Seek(std::uint64_t offset) = 0;
  // One system call each; `got`/`put` tell how many bytes moved.
  virtual IoCode Read(void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual IoCode Write(const void* buffer, std::size_t size, std::size_t& put) = 0;
  virtual IoCode Sync() = 0;
  virtual IoCode SetMode(std::uint32_t mode) = 0;
  // Gives the file the owner and group of another; where the platform has no
  // owners, or the caller may not give files away, nothing changes.
  // Gives a file made by FileSystem::CreateUnnamed the name `name`;
  // AlreadyExists when a file has it.
  virtual IoCode Link(const std::string& /*name*/) { return code::NotSupported; }
  virtual IoCode SetOwner(std::uint32_t /*owner*/, std::uint32_t /*group*/) { return 0; }
  // Waits for an exclusive advisory lock, held until the file is closed.
  virtual IoCode Lock() = 0;
  virtual IoCode Info(FileInfo& info) = 0;
  virtual IoCode Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual IoCode Open(const std::string& name, Access access, Disposition disposition,
                      std::unique_ptr<File>& file) = 0;
  // Information on the file behind the name, following symbolic links.
  virtual IoCode Info(const std::string& name, FileInfo& info) = 0;
  // The name of the file that symbolic links at `name` lead to (or `name`).
  virtual IoCode ResolveLinks(const std::string& name, std::string& target) = 0;
  // A new file without a name in the folder of `sibling`, which vanishes with
  // its last descriptor unless File::Link names it (so that a writer killed
  // half-way leaves nothing behind). NotSupported where the platform or the
  // file system has no such files.
  virtual IoCode CreateUnnamed(const std::string& /*sibling*/, std::unique_ptr<File>& /*file*/) {
    return code::NotSupported;
  }
  // Puts `from` in place of `to` in one step.
  virtual IoCode Rename(const std::string& from, const std::string& to) = 0;
  // Gives `from` the name `to` in one step, only when `to` does not exist
  // (AlreadyExists otherwise, and `from` stays).
  virtual IoCode RenameNoReplace(const std::string& from, const std::string& to) = 0;
  virtual IoCode Delete(const std::string& name) = 0;
  // Makes a rename in the folder of `name` durable.
  virtual IoCode SyncFolderOf(const std::string& name) = 0;

  // The platform's implementation, shared by the whole process.
  static FileSystem& Default();
};

}  // namespace spellcheck::store

#endif
