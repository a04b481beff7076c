// POSIX implementation of the file-access layer.

#include <acl/libacl.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <vector>

#include "store/FileSystem.h"
#include "store/PosixErrors.h"

namespace spellcheck::store {
namespace {

bool UsableName(const std::string& name) {
  return !name.empty() && name.size() <= MaxFileNameLength && name.find('\0') == std::string::npos;
}

// The folder part of a file name ("." for a bare name).
std::string FolderOf(const std::string& name) {
  const auto slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

FileInfo FromStat(const struct stat& st) {
  FileInfo info;
  info.device = static_cast<std::uint64_t>(st.st_dev);
  info.inode = static_cast<std::uint64_t>(st.st_ino);
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  info.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  info.mode = static_cast<std::uint32_t>(st.st_mode & 07777);
  info.owner = static_cast<std::uint32_t>(st.st_uid);
  info.group = static_cast<std::uint32_t>(st.st_gid);
  info.links = static_cast<std::uint32_t>(st.st_nlink);
  return info;
}

bool NotSupportedHere(int err) {
  return err == EOPNOTSUPP || err == ENOSYS;
}

// Owns an ACL of libacl.
struct AclFree {
  void operator()(void* acl) const { acl_free(acl); }
};
using UniqueAcl = std::unique_ptr<std::remove_pointer_t<acl_t>, AclFree>;

// The access list is copied through libacl, which keeps it and the mode bits
// in step; the "system." attributes are the file system's own.
bool CopiedAsExtended(const std::string& name) {
  return name.rfind("system.", 0) != 0;
}

// Attributes of namespaces that only a privileged caller may set.
bool Privileged(const std::string& name) {
  return name.rfind("trusted.", 0) == 0 || name.rfind("security.", 0) == 0;
}

IoCode ReadAttributes(const std::string& name, FileAttributes& attributes) {
  attributes = FileAttributes{};
  if (UniqueAcl acl{acl_get_file(name.c_str(), ACL_TYPE_ACCESS)}) {
    // An access list that says no more than the mode bits is none.
    if (acl_equiv_mode(acl.get(), nullptr) != 0) {
      char* text = acl_to_any_text(acl.get(), nullptr, ',', 0);
      if (text == nullptr) return CodeForErrno(errno);
      attributes.accessList = text;
      acl_free(text);
    }
  } else if (!NotSupportedHere(errno)) {
    return CodeForErrno(errno);
  }

  std::vector<char> list;
  for (;;) {
    const ssize_t size = ::listxattr(name.c_str(), nullptr, 0);
    if (size < 0) return NotSupportedHere(errno) ? code::Ok : CodeForErrno(errno);
    list.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::listxattr(name.c_str(), list.data(), list.size());
    if (got >= 0) {
      list.resize(static_cast<std::size_t>(got));
      break;
    }
    if (errno != ERANGE) return CodeForErrno(errno);  // ERANGE: it grew meanwhile
  }
  for (std::size_t at = 0; at < list.size();) {
    const std::string key(list.data() + at);
    at += key.size() + 1;
    if (!CopiedAsExtended(key)) continue;
    std::string value;
    for (;;) {
      const ssize_t size = ::getxattr(name.c_str(), key.c_str(), nullptr, 0);
      if (size < 0) break;  // gone meanwhile, or not ours to read
      value.resize(static_cast<std::size_t>(size));
      const ssize_t got = ::getxattr(name.c_str(), key.c_str(), value.data(), value.size());
      if (got >= 0) {
        value.resize(static_cast<std::size_t>(got));
        attributes.extended.emplace_back(key, value);
        break;
      }
      if (errno != ERANGE) break;
    }
  }
  return code::Ok;
}

IoCode WriteAttributes(int fd, const FileAttributes& attributes) {
  if (!attributes.accessList.empty()) {
    const UniqueAcl acl{acl_from_text(attributes.accessList.c_str())};
    if (!acl) return CodeForErrno(errno);
    if (acl_set_fd(fd, acl.get()) != 0 && !NotSupportedHere(errno)) return CodeForErrno(errno);
  }
  for (const auto& [key, value] : attributes.extended) {
    if (::fsetxattr(fd, key.c_str(), value.data(), value.size(), 0) == 0) continue;
    const int err = errno;
    if (NotSupportedHere(err)) continue;
    if (Privileged(key) && (err == EPERM || err == EACCES)) continue;
    return CodeForErrno(err);
  }
  return code::Ok;
}

// Whether the system would follow the symbolic link described by `link`, in
// the folder described by `folder`, for the caller: not when the folder is
// sticky and anyone may write it, unless the link is the caller's or the
// folder owner's (the rule of Linux's fs.protected_symlinks, kept whatever
// that setting says).
bool MayFollow(const struct stat& link, const struct stat& folder) {
  if (link.st_uid == ::geteuid()) return true;
  if ((folder.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH)) return true;
  return link.st_uid == folder.st_uid;
}

// How often an open starts again because the resolved name became a link.
constexpr int MaxLinkRaces = 8;

class PosixMapping final : public Mapping {
 public:
  PosixMapping(void* data, std::size_t size)
      : Mapping(static_cast<const unsigned char*>(data), size), data_(data) {}
  ~PosixMapping() override { ::munmap(data_, Size()); }

 private:
  void* data_;
};

class PosixFile final : public File {
 public:
  // `openedSize`: the size seen when the file was opened, or -1.
  // `unnamed`: made by CreateUnnamed and not named yet.
  PosixFile(int fd, std::int64_t openedSize, bool unnamed = false)
      : fd_(fd), openedSize_(openedSize), unnamed_(unnamed) {}
  // With the open's own look at the file, which answers Info as well.
  PosixFile(int fd, const struct stat& opened)
      : fd_(fd),
        openedSize_(static_cast<std::int64_t>(opened.st_size)),
        unnamed_(false),
        openedInfo_(FromStat(opened)),
        hasOpenedInfo_(true) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  IoCode Size(std::uint64_t& bytes) override {
    // A size query right after the open is answered by the open's own look
    // at the file, which saves a lookup its one system call; any other step
    // in between (a write, waiting for a lock) makes it ask the system again.
    if (openedSize_ >= 0) {
      bytes = static_cast<std::uint64_t>(openedSize_);
      openedSize_ = -1;
      return code::Ok;
    }
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    bytes = static_cast<std::uint64_t>(st.st_size);
    return code::Ok;
  }

  IoCode Seek(std::uint64_t offset) override {
    openedSize_ = -1;
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return code::InvalidFilename;
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return CodeForErrno(errno);
    return code::Ok;
  }

  IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
    openedSize_ = -1;
    got = 0;
    ssize_t n;
    do n = ::read(fd_, buffer, size);
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    got = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) override {
    openedSize_ = -1;
    got = 0;
    ssize_t n;
    do n = ::pread(fd_, buffer, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    got = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
    openedSize_ = -1;
    put = 0;
    ssize_t n;
    do n = ::write(fd_, buffer, size);
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    put = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode WriteAt(std::uint64_t offset, const void* buffer, std::size_t size,
                 std::size_t& put) override {
    openedSize_ = -1;
    put = 0;
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return code::InvalidFilename;
    ssize_t n;
    do n = ::pwrite(fd_, buffer, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    put = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode Reserve(std::uint64_t bytes) override {
    openedSize_ = -1;
    if (bytes == 0) return code::Ok;
    if (bytes > static_cast<std::uint64_t>(LLONG_MAX)) return code::DiskFullSystem;
    // fallocate() rather than posix_fallocate(), which on a file system
    // without the call writes bytes into the file to fake it; the length
    // stays, so readers meanwhile never see records that are not there.
    int rc;
    do rc = ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
    while (rc != 0 && errno == EINTR);
    if (rc == 0) return code::Ok;
    return NotSupportedHere(errno) ? code::NotSupported : CodeForErrno(errno);
  }

  IoCode Truncate(std::uint64_t bytes) override {
    openedSize_ = -1;
    if (bytes > static_cast<std::uint64_t>(LLONG_MAX)) return code::DiskFullSystem;
    int rc;
    do rc = ::ftruncate(fd_, static_cast<off_t>(bytes));
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode Sync() override {
    openedSize_ = -1;
    return ::fsync(fd_) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode SetMode(std::uint32_t mode) override {
    openedSize_ = -1;
    return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode SetAttributes(const FileAttributes& attributes) override {
    openedSize_ = -1;
    return WriteAttributes(fd_, attributes);
  }

  IoCode Link(const std::string& name) override {
    openedSize_ = -1;
    if (!unnamed_) return code::NotSupported;
    if (!UsableName(name)) return code::InvalidFilename;
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
    if (::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      unnamed_ = false;
      return code::Ok;
    }
    return errno == EEXIST ? code::AlreadyExists : CodeForErrno(errno);
  }

  IoCode SetOwner(std::uint32_t owner, std::uint32_t group) override {
    openedSize_ = -1;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    if (st.st_uid == owner && st.st_gid == group) return code::Ok;
    // Only a privileged caller may give a file away; for anyone else the new
    // file stays theirs, as any file they make does.
    if (::fchown(fd_, static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0 &&
        errno != EPERM) {
      return CodeForErrno(errno);
    }
    return code::Ok;
  }

  IoCode Lock() override {
    openedSize_ = -1;
    int rc;
    do rc = ::flock(fd_, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode TryLock(bool& taken) override {
    openedSize_ = -1;
    taken = false;
    int rc;
    do rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
      taken = true;
      return code::Ok;
    }
    return errno == EWOULDBLOCK ? code::Ok : CodeForErrno(errno);
  }

  IoCode Info(FileInfo& info) override {
    // Right after the open, as Size.
    if (openedSize_ >= 0 && hasOpenedInfo_) {
      info = openedInfo_;
      return code::Ok;
    }
    openedSize_ = -1;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    info = FromStat(st);
    return code::Ok;
  }

  IoCode Map(std::unique_ptr<Mapping>& mapping) override {
    openedSize_ = -1;
    mapping.reset();
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    const auto size = static_cast<std::size_t>(st.st_size);
    if (size == 0) {
      mapping = std::make_unique<Mapping>(nullptr, 0);
      return code::Ok;
    }
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd_, 0);
    if (data == MAP_FAILED) return CodeForErrno(errno);
    mapping = std::make_unique<PosixMapping>(data, size);
    return code::Ok;
  }

  IoCode Close() override {
    openedSize_ = -1;
    const int fd = fd_;
    fd_ = -1;
    // The descriptor is gone after close() whatever it answers; never retry.
    return ::close(fd) == 0 ? code::Ok : CodeForErrno(errno);
  }

 private:
  int fd_;
  std::int64_t openedSize_;
  bool unnamed_;
  FileInfo openedInfo_;
  bool hasOpenedInfo_ = false;
};

class PosixFileSystem final : public FileSystem {
 public:
  IoCode Open(const std::string& name, Access access, Disposition disposition,
              std::unique_ptr<File>& file) override {
    file.reset();
    if (!UsableName(name)) return code::InvalidFilename;
    int flags = O_CLOEXEC | (access == Access::Read ? O_RDONLY : O_RDWR);
    switch (disposition) {
      case Disposition::OpenExisting:
        break;
      case Disposition::OpenAlways:
        flags |= O_CREAT;
        break;
      case Disposition::CreateAlways:
        flags |= O_CREAT | O_TRUNC;
        break;
      case Disposition::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    }
    // The system follows no link at the end of the name: a link is followed
    // here, by the rule of ResolveLinks, and the file it leads to is opened
    // in the same way, so that a link planted there meanwhile is caught too.
    std::string target = name;
    for (int attempt = 0; attempt < MaxLinkRaces; ++attempt) {
      // Non-blocking while opening, so that a FIFO or device under the name
      // cannot hang the caller; only regular files are word-list files.
      int fd;
      do fd = ::open(target.c_str(), flags | O_NONBLOCK | O_NOFOLLOW, 0666);
      while (fd < 0 && errno == EINTR);
      if (fd < 0) {
        const int err = errno;
        if (err == ELOOP) {
          if (const IoCode rc = ResolveLinks(name, target); rc != code::Ok) return rc;
          continue;
        }
        if (err == EEXIST && disposition == Disposition::CreateNew) return code::AlreadyExists;
        // A missing folder on the way to a file being made is an invalid name.
        if (disposition != Disposition::OpenExisting && (err == ENOENT || err == ENOTDIR)) {
          return IoCode(code::InvalidFilename.Code(), err);
        }
        return CodeForErrno(err);
      }
      struct stat st;
      if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return CodeForErrno(err);
      }
      if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return code::AccessDenied;
      }
      // O_NONBLOCK stays: it changes nothing for regular files.
      file = std::make_unique<PosixFile>(fd, st);
      return code::Ok;
    }
    return CodeForErrno(ELOOP);
  }

  IoCode CreateUnnamed(const std::string& sibling, std::unique_ptr<File>& file) override {
    file.reset();
    // Naming the file later goes through /proc.
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    if (!procMounted || !UsableName(sibling)) return code::NotSupported;
    int fd;
    do fd = ::open(FolderOf(sibling).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      const int err = errno;
      // Kernels and file systems without unnamed files say so in these ways.
      if (err == EOPNOTSUPP || err == EISDIR || err == EINVAL) return code::NotSupported;
      return err == ENOENT || err == ENOTDIR ? IoCode(code::InvalidFilename.Code(), err)
                                             : CodeForErrno(err);
    }
    file = std::make_unique<PosixFile>(fd, -1, true);
    return code::Ok;
  }

  IoCode Info(const std::string& name, FileInfo& info) override {
    if (!UsableName(name)) return code::InvalidFilename;
    struct stat st;
    if (::lstat(name.c_str(), &st) != 0) return CodeForErrno(errno);
    if (S_ISLNK(st.st_mode)) {
      std::string target;
      if (const IoCode rc = ResolveLinks(name, target); rc != code::Ok) return rc;
      if (::stat(target.c_str(), &st) != 0) return CodeForErrno(errno);
    }
    info = FromStat(st);
    return code::Ok;
  }

  IoCode Attributes(const std::string& name, FileAttributes& attributes) override {
    if (!UsableName(name)) return code::InvalidFilename;
    std::string target;
    if (const IoCode rc = ResolveLinks(name, target); rc != code::Ok) return rc;
    return ReadAttributes(target, attributes);
  }

  IoCode ResolveLinks(const std::string& name, std::string& target) override {
    if (!UsableName(name)) return code::InvalidFilename;
    std::string current = name;
    // As many links as Linux follows for one name.
    for (int hops = 0; hops < 40; ++hops) {
      struct stat st;
      if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = current;
        return code::Ok;
      }
      struct stat folder;
      if (::stat(FolderOf(current).c_str(), &folder) != 0) return CodeForErrno(errno);
      if (!MayFollow(st, folder)) return IoCode(code::AccessDenied.Code(), EACCES);
      char buffer[PATH_MAX];
      const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
      if (n < 0) return CodeForErrno(errno);
      std::string link(buffer, static_cast<std::size_t>(n));
      if (!link.empty() && link[0] != '/') {
        // A relative link is relative to the folder of the link itself.
        const auto slash = current.rfind('/');
        if (slash != std::string::npos) link = current.substr(0, slash + 1) + link;
      }
      current = link;
    }
    return CodeForErrno(ELOOP);
  }

  IoCode List(const std::string& folder, std::vector<std::string>& names) override {
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return CodeForErrno(errno);
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string entryName = entry->d_name;
      if (entryName != "." && entryName != "..") names.push_back(entryName);
    }
    return errno == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode RenameNoReplace(const std::string& from, const std::string& to) override {
    if (!UsableName(from) || !UsableName(to)) return code::InvalidFilename;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
      return code::Ok;
    }
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
      // A file system without the flag: a hard link is just as exclusive.
      if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return code::Ok;
      }
      err = errno;
    }
    return err == EEXIST ? code::AlreadyExists : CodeForErrno(err);
  }

  IoCode Delete(const std::string& name) override {
    if (!UsableName(name)) return code::InvalidFilename;
    return ::unlink(name.c_str()) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode CreateFolder(const std::string& name) override {
    if (!UsableName(name)) return code::InvalidFilename;
    if (::mkdir(name.c_str(), 0700) == 0) return code::Ok;
    return errno == EEXIST ? code::AlreadyExists : CodeForErrno(errno);
  }

  IoCode IsTrustedFolder(const std::string& name, bool& isTrusted) override {
    isTrusted = false;
    if (!UsableName(name)) return code::InvalidFilename;
    // Followed through links: a link planted by someone else leads to a
    // folder of theirs, which fails the test of the owner.
    struct stat st;
    if (::stat(name.c_str(), &st) != 0) return CodeForErrno(errno);
    isTrusted = S_ISDIR(st.st_mode) && (st.st_uid == ::geteuid() || st.st_uid == 0) &&
                (st.st_mode & 022) == 0;
    return code::Ok;
  }

  IoCode SyncFolderOf(const std::string& name) override {
    const int fd = ::open(FolderOf(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return CodeForErrno(errno);
    const IoCode result = ::fsync(fd) == 0 ? code::Ok : CodeForErrno(errno);
    ::close(fd);
    return result;
  }
};

}  // namespace

FileSystem& FileSystem::Default() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace spellcheck::store
