// The file-access layer: the only way the store reaches the operating system.
// One implementation per platform; test doubles derive from the forwarding
// classes at the end, which pass every step on to another implementation.
// Every call answers with an IoCode and raises nothing; the store decides
// which failures are absorbed and which are raised.
#ifndef SPELLCHECK_STORE_FILESYSTEM_H
#define SPELLCHECK_STORE_FILESYSTEM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace spellcheck::store {

// The outcome of one step: a code of the store's error table (0 on success),
// which is what EInOutError carries, and beside it the operating system's own
// error number that led to it (errno, GetLastError), 0 when there is none, so
// that a message or a log can show both. Two outcomes compare by code alone.
// Converts to true when the step failed.
class [[nodiscard]] IoCode {
 public:
  constexpr IoCode() = default;
  // Implicit, so that a code of the table reads as a number.
  constexpr IoCode(int code) : code_(code) {}
  constexpr IoCode(int code, int systemError) : code_(code), systemError_(systemError) {}

  constexpr int Code() const { return code_; }
  constexpr int SystemError() const { return systemError_; }
  constexpr explicit operator int() const { return code_; }
  constexpr explicit operator bool() const { return code_ != 0; }
  friend constexpr bool operator==(IoCode a, IoCode b) { return a.code_ == b.code_; }

 private:
  int code_ = 0;
  int systemError_ = 0;
};

// The store's codes are the Windows error numbers of the file functions, and
// 100 to 106 of the layer's own.
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
// A system error with no meaning in the table keeps its own number with this
// bit set, the bit Windows leaves to applications: such a code never equals
// a Windows error number nor one of the layer's own codes.
inline constexpr int UnmappedSystemError = 0x20000000;
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
  std::uint32_t links = 1;  // names the file has (hard links)
  bool SameFile(const FileInfo& other) const {
    return device == other.device && inode == other.inode;
  }
};

// What a file carries besides its contents, owner and mode bits: its access
// control list and extended attributes, in the platform's own form. Copied
// as a whole from a file to its replacement.
struct FileAttributes {
  std::string accessList;  // empty when the file has none beyond its mode
  std::vector<std::pair<std::string, std::string>> extended;  // name, value
};

enum class Access { Read, ReadWrite };

// A whole file's bytes mapped read-only into memory, as they were when it was
// mapped; unmapped when the object goes. The file may be closed meanwhile.
class Mapping {
 public:
  Mapping(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;
  virtual ~Mapping() = default;
  const unsigned char* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

namespace detail {
struct OwnedBytes {
  std::vector<unsigned char> bytes;
};
}  // namespace detail

// Bytes in memory shown as a mapping (a copy read where nothing is mapped).
class BytesMapping final : private detail::OwnedBytes, public Mapping {
 public:
  explicit BytesMapping(std::vector<unsigned char> bytes)
      : OwnedBytes{std::move(bytes)}, Mapping(this->bytes.data(), this->bytes.size()) {}
};

enum class Disposition {
  OpenExisting,  // never creates
  OpenAlways,    // creates when absent, never truncates
  CreateAlways,  // creates, or truncates an existing file to 0 bytes
  CreateNew,     // creates; fails when the name exists
};

// One open file. Destroying it closes it, ignoring a failure of the close.
class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  virtual ~File() = default;

  virtual IoCode Size(std::uint64_t& bytes) = 0;
  virtual IoCode Seek(std::uint64_t offset) = 0;
  // One system call each; `got`/`put` tell how many bytes moved, which may be
  // fewer than asked for.
  virtual IoCode Read(void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual IoCode Write(const void* buffer, std::size_t size, std::size_t& put) = 0;
  virtual IoCode WriteAt(std::uint64_t offset, const void* buffer, std::size_t size,
                         std::size_t& put) = 0;
  // Makes sure that the first `bytes` bytes have room on the disk, without
  // changing the contents; NotSupported where the file system cannot promise it.
  virtual IoCode Reserve(std::uint64_t bytes) = 0;
  // Cuts the file to `bytes` bytes (or extends it with zeros).
  virtual IoCode Truncate(std::uint64_t bytes) = 0;
  virtual IoCode Sync() = 0;
  virtual IoCode SetMode(std::uint32_t mode) = 0;
  // Gives the file the owner and group of another; where the platform has no
  // owners, or the caller may not give files away, nothing changes.
  virtual IoCode SetOwner(std::uint32_t owner, std::uint32_t group) = 0;
  // Gives the file the access list and extended attributes of another, as far
  // as the caller may set them; where the platform has none, nothing changes.
  virtual IoCode SetAttributes(const FileAttributes& attributes) = 0;
  // Gives a file made by FileSystem::CreateUnnamed the name `name`;
  // AlreadyExists when a file has it, NotSupported for any other file.
  virtual IoCode Link(const std::string& name) = 0;
  // Waits for an exclusive advisory lock, held until the file is closed.
  virtual IoCode Lock() = 0;
  // Takes the lock only when no one holds it; `taken` tells which.
  virtual IoCode TryLock(bool& taken) = 0;
  virtual IoCode Info(FileInfo& info) = 0;
  // Maps the whole file read-only (an empty file gives an empty mapping).
  // A file that another process cuts short while mapped is never changed
  // that way here: compiled files are replaced by renaming, never rewritten.
  virtual IoCode Map(std::unique_ptr<Mapping>& mapping) = 0;
  virtual IoCode Close() = 0;
};

class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;
  virtual ~FileSystem() = default;

  // Refuses (AccessDenied) a symbolic link that the name leads through and
  // that the system must not follow for the caller: see ResolveLinks.
  virtual IoCode Open(const std::string& name, Access access, Disposition disposition,
                      std::unique_ptr<File>& file) = 0;
  // Information on the file behind the name, following symbolic links.
  virtual IoCode Info(const std::string& name, FileInfo& info) = 0;
  // The access list and extended attributes of the file behind the name.
  virtual IoCode Attributes(const std::string& name, FileAttributes& attributes) = 0;
  // The name of the file that symbolic links at `name` lead to (or `name`).
  // A link in a sticky folder that others may write is followed only when it
  // belongs to the caller or to the folder's owner; any other is refused with
  // AccessDenied, since anyone could have planted it there. A chain of links
  // that does not end is InvalidFilename.
  virtual IoCode ResolveLinks(const std::string& name, std::string& target) = 0;
  // A new file without a name in the folder of `sibling`, which vanishes with
  // its last descriptor unless File::Link names it (so that a writer killed
  // half-way leaves nothing behind). NotSupported where the platform or the
  // file system has no such files.
  virtual IoCode CreateUnnamed(const std::string& sibling, std::unique_ptr<File>& file) = 0;
  // The names in the folder `folder` ("." for the current one).
  virtual IoCode List(const std::string& folder, std::vector<std::string>& names) = 0;
  // Puts `from` in place of `to` in one step.
  virtual IoCode Rename(const std::string& from, const std::string& to) = 0;
  // Gives `from` the name `to` in one step, only when `to` does not exist
  // (AlreadyExists otherwise, and `from` stays).
  virtual IoCode RenameNoReplace(const std::string& from, const std::string& to) = 0;
  virtual IoCode Delete(const std::string& name) = 0;
  // Makes the folder `name` (its parent must exist), which only its owner
  // may read or change; AlreadyExists when the name is taken.
  virtual IoCode CreateFolder(const std::string& name) = 0;
  // Whether `name` is a folder of the caller's own or the administrator's
  // into which no one else may write, so that what it holds was put there by
  // one of them.
  virtual IoCode IsTrustedFolder(const std::string& name, bool& isTrusted) = 0;
  // Makes a rename in the folder of `name` durable.
  virtual IoCode SyncFolderOf(const std::string& name) = 0;

  // The platform's implementation, shared by the whole process.
  static FileSystem& Default();
};

// Passes every step to another file; a test double overrides the steps it
// changes.
class ForwardingFile : public File {
 public:
  explicit ForwardingFile(std::unique_ptr<File> target) : target_(std::move(target)) {}

  IoCode Size(std::uint64_t& bytes) override { return target_->Size(bytes); }
  IoCode Seek(std::uint64_t offset) override { return target_->Seek(offset); }
  IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
    return target_->Read(buffer, size, got);
  }
  IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) override {
    return target_->ReadAt(offset, buffer, size, got);
  }
  IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
    return target_->Write(buffer, size, put);
  }
  IoCode WriteAt(std::uint64_t offset, const void* buffer, std::size_t size,
                 std::size_t& put) override {
    return target_->WriteAt(offset, buffer, size, put);
  }
  IoCode Reserve(std::uint64_t bytes) override { return target_->Reserve(bytes); }
  IoCode Truncate(std::uint64_t bytes) override { return target_->Truncate(bytes); }
  IoCode Sync() override { return target_->Sync(); }
  IoCode SetMode(std::uint32_t mode) override { return target_->SetMode(mode); }
  IoCode SetOwner(std::uint32_t owner, std::uint32_t group) override {
    return target_->SetOwner(owner, group);
  }
  IoCode SetAttributes(const FileAttributes& attributes) override {
    return target_->SetAttributes(attributes);
  }
  IoCode Link(const std::string& name) override { return target_->Link(name); }
  IoCode Lock() override { return target_->Lock(); }
  IoCode TryLock(bool& taken) override { return target_->TryLock(taken); }
  IoCode Info(FileInfo& info) override { return target_->Info(info); }
  IoCode Map(std::unique_ptr<Mapping>& mapping) override { return target_->Map(mapping); }
  IoCode Close() override { return target_->Close(); }

 protected:
  File& Target() { return *target_; }

 private:
  std::unique_ptr<File> target_;
};

// Passes every step to another file system. Files it opens are handed to
// WrapFile, which a test double overrides to put its own file around them.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}

  IoCode Open(const std::string& name, Access access, Disposition disposition,
              std::unique_ptr<File>& file) override {
    const IoCode rc = target_.Open(name, access, disposition, file);
    if (file) file = WrapFile(std::move(file));
    return rc;
  }
  IoCode Info(const std::string& name, FileInfo& info) override { return target_.Info(name, info); }
  IoCode Attributes(const std::string& name, FileAttributes& attributes) override {
    return target_.Attributes(name, attributes);
  }
  IoCode ResolveLinks(const std::string& name, std::string& target) override {
    return target_.ResolveLinks(name, target);
  }
  IoCode CreateUnnamed(const std::string& sibling, std::unique_ptr<File>& file) override {
    const IoCode rc = target_.CreateUnnamed(sibling, file);
    if (file) file = WrapFile(std::move(file));
    return rc;
  }
  IoCode List(const std::string& folder, std::vector<std::string>& names) override {
    return target_.List(folder, names);
  }
  IoCode Rename(const std::string& from, const std::string& to) override {
    return target_.Rename(from, to);
  }
  IoCode RenameNoReplace(const std::string& from, const std::string& to) override {
    return target_.RenameNoReplace(from, to);
  }
  IoCode Delete(const std::string& name) override { return target_.Delete(name); }
  IoCode CreateFolder(const std::string& name) override { return target_.CreateFolder(name); }
  IoCode IsTrustedFolder(const std::string& name, bool& isTrusted) override {
    return target_.IsTrustedFolder(name, isTrusted);
  }
  IoCode SyncFolderOf(const std::string& name) override { return target_.SyncFolderOf(name); }

 protected:
  FileSystem& Target() { return target_; }
  virtual std::unique_ptr<File> WrapFile(std::unique_ptr<File> file) { return file; }

 private:
  FileSystem& target_;
};

}  // namespace spellcheck::store

#endif
